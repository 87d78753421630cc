#include "framework/PathText.h"

#include "framework/HResult.h"

namespace corvane {

HRESULT QueryProgramPath(std::wstring& path)
{
    path.clear();
    // Room for more than MAX_PATH: a path that fills the buffer may have been cut short.
    wchar_t buffer[2 * MAX_PATH];
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 2 * MAX_PATH);
    if (length == 0 || length >= 2 * MAX_PATH)
        return FailureFromLastError();
    path.assign(buffer, length);
    return S_OK;
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return std::wstring();
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return std::wstring();
    full.resize(written);
    return full;
}

} // namespace corvane
