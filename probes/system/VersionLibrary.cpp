#include "probes/system/VersionLibrary.h"

#include "framework/SystemLibrary.h"

namespace corvane {

CVersionLibrary::CVersionLibrary()
{
    // Kept loaded for the life of the process, as an import would be.
    const HMODULE library = LoadSystemLibrary(L"version.dll");
    if (!library)
    {
        loadError_ = ::GetLastError();
        return;
    }
    getSize_ = GetProcAddressAs<SizeProc>(library, "GetFileVersionInfoSizeW");
    getInfo_ = GetProcAddressAs<InfoProc>(library, "GetFileVersionInfoW");
    query_ = GetProcAddressAs<QueryProc>(library, "VerQueryValueW");
    if (!getSize_ || !getInfo_ || !query_)
        loadError_ = ERROR_PROC_NOT_FOUND;
}

const CVersionLibrary& CVersionLibrary::Get()
{
    static const CVersionLibrary library;
    return library;
}

DWORD CVersionLibrary::GetFileVersionInfoSize(const wchar_t* path, DWORD* handle) const
{
    if (loadError_ != ERROR_SUCCESS)
    {
        ::SetLastError(loadError_);
        return 0;
    }
    return getSize_(path, handle);
}

BOOL CVersionLibrary::GetFileVersionInfo(const wchar_t* path, DWORD handle, DWORD size, void* block) const
{
    if (loadError_ != ERROR_SUCCESS)
    {
        ::SetLastError(loadError_);
        return FALSE;
    }
    return getInfo_(path, handle, size, block);
}

BOOL CVersionLibrary::VerQueryValue(const void* block, const wchar_t* subBlock, void** value,
                                    UINT* length) const
{
    if (loadError_ != ERROR_SUCCESS)
    {
        ::SetLastError(loadError_);
        return FALSE;
    }
    return query_(block, subBlock, value, length);
}

} // namespace corvane
