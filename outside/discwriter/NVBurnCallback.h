// The completion callback of both disc-writing libraries: called once when a
// write ends, on the library's own thread, after the start call returned.
// status 1 = failed (GetErrorCode tells why), any other value = written.
#pragma once

typedef void (*NVBurnCallback)(int status, void* context);
