// Between our MP3 encoder and our MP3 writer, which sit next to each other in
// the recording and conversion graphs. A new file must begin with a bitstream
// that decodes on its own (no bit reservoir reaching back into the previous
// file), and a recording stopped without end of stream must still get the
// frames the encoder holds back. Only the encoder can do either, so the writer
// asks the filter that feeds it through this interface.
#pragma once
#include <windows.h>
#include <unknwn.h>

// {2A59115A-F991-46DD-AE98-B56FD6936271}
DEFINE_GUID(IID_IMP3BitstreamControl,
    0x2a59115a, 0xf991, 0x46dd, 0xae, 0x98, 0xb5, 0x6f, 0xd6, 0x93, 0x62, 0x71);

struct IMP3BitstreamControl : public IUnknown {
    // Before its next input the encoder ends the running bitstream without a gap
    // in the sound and starts a new one. The first sample of the new bitstream
    // carries the discontinuity flag and begins with its first frame. Safe from
    // any thread.
    virtual HRESULT STDMETHODCALLTYPE RequestCut() = 0;
    // Ends the running bitstream now, delivering its last frames downstream before
    // returning. The writer calls it when it stops (with its own streaming lock free).
    virtual HRESULT STDMETHODCALLTYPE FlushTail() = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IMP3BitstreamControl, 0x2a59115a, 0xf991, 0x46dd, 0xae, 0x98, 0xb5, 0x6f, 0xd6, 0x93, 0x62, 0x71)
#endif
