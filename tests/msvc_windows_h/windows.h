// Stands in for the Windows SDK's <windows.h> in the compile-only check of the
// Windows sources: the real MinGW header, then min and max as function-like
// macros the way the SDK defines them in C++ too, unless NOMINMAX is set.
// MinGW's own headers define them only for C.
#pragma once
#include_next <windows.h>

#ifndef NOMINMAX
#ifndef max
#define max(a, b) (((a) > (b)) ? (a) : (b))
#endif
#ifndef min
#define min(a, b) (((a) < (b)) ? (a) : (b))
#endif
#endif
