// Comes ahead of every source of the compile-only check. MSVC's standard
// library is written to survive the SDK's min and max macros, libstdc++ is
// not: take all of it in first, before any <windows.h>, so that only the
// program's own code meets the macros. All but <chrono>, which holds a literal
// code page 932 cannot encode and which the program does not use.
//
// libstdc++ for MinGW also defines NOMINMAX itself (bits/os_defines.h), which
// no MSVC build sees: drop it, so that only the build's own NOMINMAX counts.
#define _GLIBCXX_CHRONO
#ifdef NOMINMAX
#include <bits/stdc++.h>
#else
#include <bits/stdc++.h>
#undef NOMINMAX
#endif
#undef _GLIBCXX_CHRONO
