// The module the toolkit is linked into: its window classes belong to that module, and its
// windows are created for it, whichever program or DLL that is.
#pragma once

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;  // the linker's symbol for the module's own base

namespace quendel::toolkit {

inline HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace quendel::toolkit
