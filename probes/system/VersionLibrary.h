#pragma once
// The version information functions, taken from the System folder's version.dll at run time. The
// library is not one of the system's known DLLs, so an import of it would be looked for beside the
// program first, where anyone may have left a copy.

#include <windows.h>

namespace corvane {

class CVersionLibrary
{
public:
    // The process's one instance, loaded on first use. When the library or one of its functions is
    // missing, every call fails with the code of that failure.
    static const CVersionLibrary& Get();

    DWORD GetFileVersionInfoSize(const wchar_t* path, DWORD* handle) const;
    BOOL GetFileVersionInfo(const wchar_t* path, DWORD handle, DWORD size, void* block) const;
    BOOL VerQueryValue(const void* block, const wchar_t* subBlock, void** value, UINT* length) const;

private:
    CVersionLibrary();

    using SizeProc = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoProc = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryProc = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

    SizeProc getSize_ = nullptr;
    InfoProc getInfo_ = nullptr;
    QueryProc query_ = nullptr;
    DWORD loadError_ = ERROR_SUCCESS;
};

} // namespace corvane
