#include "probes/system/VersionInfo.h"

#include "engine/StringTable.h"
#include "framework/HResult.h"

#include <cstring>
#include <new>

namespace corvane {

namespace {

constexpr DWORD kPathLength = 520;

std::wstring JoinVersionHalves(DWORD mostSignificant, DWORD leastSignificant, wchar_t separator)
{
    return FormatText(L"%u%c%u%c%u%c%u", static_cast<unsigned>(HIWORD(mostSignificant)), separator,
                      static_cast<unsigned>(LOWORD(mostSignificant)), separator,
                      static_cast<unsigned>(HIWORD(leastSignificant)), separator,
                      static_cast<unsigned>(LOWORD(leastSignificant)));
}

} // namespace

std::wstring CVersionInfo::StringSubBlock(DWORD translation, const wchar_t* name)
{
    return FormatText(L"\\StringFileInfo\\%08lx\\%s", static_cast<unsigned long>(translation), name);
}

void CVersionInfo::Free()
{
    block_.reset();
    translation_ = 0;
}

HRESULT CVersionInfo::Load(const wchar_t* path)
{
    Free();

    // Every step clears the last error first, so that no code left by an earlier call is reported.
    wchar_t ownPath[kPathLength];
    if (!path)
    {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetModuleFileNameW(nullptr, ownPath, kPathLength);
        if (length == 0 || length >= kPathLength)
            return FailureFromLastError();
        path = ownPath;
    }

    // A short path that does not fit is reported by its required length alone, without a last error.
    wchar_t shortPath[kPathLength];
    ::SetLastError(ERROR_SUCCESS);
    const DWORD shortLength = ::GetShortPathNameW(path, shortPath, kPathLength);
    if (shortLength == 0 || shortLength >= kPathLength)
        return FailureFromLastError();

    DWORD handle = 0;
    ::SetLastError(ERROR_SUCCESS);
    const DWORD size = ::GetFileVersionInfoSizeW(shortPath, &handle);
    if (size == 0)
        return FailureFromLastError();

    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block)
        return E_OUTOFMEMORY;

    ::SetLastError(ERROR_SUCCESS);
    if (!::GetFileVersionInfoW(shortPath, 0, size, block.get()))
        return FailureFromLastError();

    void* table = nullptr;
    UINT tableLength = 0;
    ::SetLastError(ERROR_SUCCESS);
    if (!::VerQueryValueW(block.get(), L"\\VarFileInfo\\Translation", &table, &tableLength))
        return FailureFromLastError();
    if (!table || tableLength < 2 * sizeof(WORD))
        return E_FAIL; // a table without an entry names no translation

    const WORD* entry = static_cast<const WORD*>(table);
    translation_ = (static_cast<DWORD>(entry[0]) << 16) | entry[1];
    block_ = std::move(block);
    return S_FALSE;
}

bool CVersionInfo::GetFixedInfo(VS_FIXEDFILEINFO& fixedInfo) const
{
    if (!block_)
        return false;
    void* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.get(), L"\\", &fixed, &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    std::memcpy(&fixedInfo, fixed, sizeof(VS_FIXEDFILEINFO));
    return true;
}

const wchar_t* CVersionInfo::QueryString(const wchar_t* name, DWORD translation, UINT* length) const
{
    if (length)
        *length = 0;
    if (!block_)
    {
        ::SetLastError(ERROR_NO_DATA);
        return nullptr;
    }
    const std::wstring subBlock = StringSubBlock(translation ? translation : translation_, name);
    void* value = nullptr;
    UINT valueLength = 0;
    if (!::VerQueryValueW(block_.get(), subBlock.c_str(), &value, &valueLength))
        return nullptr;
    if (length)
        *length = valueLength;
    return static_cast<const wchar_t*>(value);
}

std::wstring CVersionInfo::GetFileVersionText(wchar_t separator) const
{
    VS_FIXEDFILEINFO fixed{};
    if (!GetFixedInfo(fixed))
        return std::wstring();
    return JoinVersionHalves(fixed.dwFileVersionMS, fixed.dwFileVersionLS, separator);
}

std::wstring CVersionInfo::GetProductVersionText(wchar_t separator) const
{
    VS_FIXEDFILEINFO fixed{};
    if (!GetFixedInfo(fixed))
        return std::wstring();
    return JoinVersionHalves(fixed.dwProductVersionMS, fixed.dwProductVersionLS, separator);
}

} // namespace corvane
