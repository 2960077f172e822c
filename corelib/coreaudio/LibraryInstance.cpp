// The library's own instance, alive while the library is loaded. It is built while
// the loader holds its lock, where COM must not be called, so it initialises none.
#include "NVCoreAudio.h"

struct LibraryInstance {
    CNVCoreAudio instance{CNVCoreAudio::NoCom()};
};

static LibraryInstance g_libraryInstance;
