#include "probes/inventory/SessionNames.h"

#include "framework/HResult.h"

#include <lmcons.h>

#include <cwchar>

namespace corvane {

HRESULT QueryComputerName(std::wstring& name)
{
    name.clear();
    wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    RETURN_LAST_ERROR_IF_FALSE(::GetComputerNameW(buffer, &length));
    name.assign(buffer, length);
    return S_OK;
}

HRESULT QueryUserName(std::wstring& name)
{
    name.clear();
    wchar_t buffer[UNLEN + 1] = {};
    DWORD length = UNLEN + 1;
    RETURN_LAST_ERROR_IF_FALSE(::GetUserNameW(buffer, &length));
    name.assign(buffer, ::wcsnlen(buffer, UNLEN + 1));
    return S_OK;
}

} // namespace corvane
