#pragma once
// Libraries loaded at run time from the System folder by full path, never by a search that could find a
// copy planted beside the program or in its working directory.

#include "framework/UniqueHandle.h"

#include <string>

namespace corvane {

// The System folder, without a trailing backslash; empty when it cannot be had.
std::wstring SystemFolder();

// Loads name (a file name such as L"version.dll") from the System folder; null with the last error set
// when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Loads the library at a full path, the modules it needs looked for beside it and then in the System
// folder alone where Windows can restrict the search so (LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
// LOAD_LIBRARY_SEARCH_SYSTEM32: Windows 8, and Vista and 7 with KB2533623); elsewhere by the altered
// search path, beside it first.
HMODULE LoadLibraryByFullPath(const wchar_t* path);

// A typed export of a loaded library; null when the library lacks it.
template <typename Proc> Proc GetProcAddressAs(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// A function of kernel32 that only later Windows versions than the oldest supported have; null where the
// running one lacks it. Looked up at run time, since an import of it would keep the program from loading.
template <typename Proc> Proc GetKernelProcAs(const char* name)
{
    return GetProcAddressAs<Proc>(::GetModuleHandleW(L"kernel32.dll"), name);
}

} // namespace corvane
