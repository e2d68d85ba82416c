// Export control for the time library and its byte string (one module, one macro).
//
// The library's sources are compiled with QUENDEL_TIME_BUILD, which exports the public
// members of the classes, each marked on its own, from whatever module they are linked into
// (the DLL, and the program itself). Private members and test seams stay unexported: a
// class-wide mark would export them too. Other
// programs include the installed headers as they are and import from the DLL; a program
// that compiles the sources in statically defines QUENDEL_TIME_STATIC.
#pragma once

#if defined(QUENDEL_TIME_BUILD)
#define QTL_API __declspec(dllexport)
#elif defined(QUENDEL_TIME_STATIC)
#define QTL_API
#else
#define QTL_API __declspec(dllimport)
#endif
