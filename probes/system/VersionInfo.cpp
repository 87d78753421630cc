#include "probes/system/VersionInfo.h"

#include "framework/HResult.h"
#include "framework/PathText.h"
#include "framework/StringTable.h"
#include "probes/system/VersionLibrary.h"

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
    blockSize_ = 0;
    translation_ = 0;
}

HRESULT CVersionInfo::Load(const wchar_t* path)
{
    Free();

    // Every step clears the last error first, so that no code left by an earlier call is reported.
    std::wstring ownPath;
    if (!path)
    {
        RETURN_IF_FAILED(QueryProgramPath(ownPath));
        path = ownPath.c_str();
    }

    // A short path that does not fit is reported by its required length alone, without a last error.
    wchar_t shortPath[kPathLength];
    ::SetLastError(ERROR_SUCCESS);
    const DWORD shortLength = ::GetShortPathNameW(path, shortPath, kPathLength);
    if (shortLength == 0 || shortLength >= kPathLength)
        return FailureFromLastError();

    const CVersionLibrary& library = CVersionLibrary::Get();
    DWORD handle = 0;
    ::SetLastError(ERROR_SUCCESS);
    const DWORD size = library.GetFileVersionInfoSize(shortPath, &handle);
    if (size == 0)
        return FailureFromLastError();

    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block)
        return E_OUTOFMEMORY;

    RETURN_LAST_ERROR_IF_FALSE(library.GetFileVersionInfo(shortPath, 0, size, block.get()));

    void* table = nullptr;
    UINT tableLength = 0;
    RETURN_LAST_ERROR_IF_FALSE(
        library.VerQueryValue(block.get(), L"\\VarFileInfo\\Translation", &table, &tableLength));
    if (!table || tableLength < 2 * sizeof(WORD))
        return E_FAIL; // a table without an entry names no translation

    const WORD* entry = static_cast<const WORD*>(table);
    translation_ = (static_cast<DWORD>(entry[0]) << 16) | entry[1];
    block_ = std::move(block);
    blockSize_ = size;
    return S_FALSE;
}

bool CVersionInfo::GetFixedInfo(VS_FIXEDFILEINFO& fixedInfo) const
{
    if (!block_)
        return false;
    void* fixed = nullptr;
    UINT length = 0;
    if (!CVersionLibrary::Get().VerQueryValue(block_.get(), L"\\", &fixed, &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    std::memcpy(&fixedInfo, fixed, sizeof(VS_FIXEDFILEINFO));
    return true;
}

bool CVersionInfo::QueryString(const wchar_t* name, std::wstring& text, DWORD translation) const
{
    text.clear();
    if (!block_)
    {
        ::SetLastError(ERROR_NO_DATA);
        return false;
    }
    const std::wstring subBlock = StringSubBlock(translation ? translation : translation_, name);
    void* value = nullptr;
    UINT valueLength = 0;
    if (!CVersionLibrary::Get().VerQueryValue(block_.get(), subBlock.c_str(), &value, &valueLength))
        return false;
    // The value is exactly the length the resource gives, which need not include a terminator (and is 0
    // for an empty value); it ends earlier at a NUL, and never reaches past the block.
    const BYTE* start = static_cast<const BYTE*>(value);
    const BYTE* end = block_.get() + blockSize_;
    if (!start || start < block_.get() || start >= end)
        return true;
    const size_t available = static_cast<size_t>(end - start) / sizeof(wchar_t);
    const size_t length = valueLength < available ? valueLength : available;
    const wchar_t* characters = static_cast<const wchar_t*>(value);
    text.assign(characters, ::wcsnlen(characters, length));
    return true;
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
