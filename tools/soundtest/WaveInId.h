// The wave-in number of an input of the sandbox by its name, as DirectShow and the
// DirectSound enumerator count them.
#pragma once

namespace testsignal {

// -1 when no input has that name.
int WaveInId(const wchar_t* name);

}  // namespace testsignal
