// The one seam between Orvane and its platform: the Windows profile reader and the
// Microsoft RPC runtime. On Windows these are the system's own; natively, the stand-ins
// in standins/ take their place with the same names and contracts.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <rpc.h>
#else
#include "win32/win32_standin.h"
#endif
