#pragma once
// A module's version resource: its fixed version numbers and the strings of its string table.

#include <windows.h>

#include <memory>
#include <string>

namespace corvane {

class CVersionInfo
{
public:
    CVersionInfo() = default;
    CVersionInfo(const CVersionInfo&) = delete;
    CVersionInfo& operator=(const CVersionInfo&) = delete;
    ~CVersionInfo() { Free(); }

    // Reads the version resource of the module at path (null: the program's own file). Returns 1 on
    // success and a negative code on failure, never 0: a step that fails without a last error gives
    // E_FAIL. A failed load leaves the object empty.
    HRESULT Load(const wchar_t* path);

    // The resource's VS_FIXEDFILEINFO; false when nothing is loaded or the resource has none.
    bool GetFixedInfo(VS_FIXEDFILEINFO& fixedInfo) const;

    // A string of the resource's string table for translation (0: the resource's own first
    // translation), copied into text: the value's own length, cut at a NUL within it. False (and text
    // empty) when not found; with no resource loaded the last error is then ERROR_NO_DATA.
    bool QueryString(const wchar_t* name, std::wstring& text, DWORD translation = 0) const;

    // Four numbers joined by separator (e.g. 11.0.8217.0); empty when there is no fixed record.
    std::wstring GetFileVersionText(wchar_t separator) const;
    std::wstring GetProductVersionText(wchar_t separator) const;

    void Free();

    bool IsLoaded() const { return block_ != nullptr; }
    // Language id in the high half, code page in the low half; 0 when nothing is loaded.
    DWORD Translation() const { return translation_; }

    // "\StringFileInfo\040904b0\CompanyName": the sub-block of a string for a translation.
    static std::wstring StringSubBlock(DWORD translation, const wchar_t* name);

private:
    std::unique_ptr<BYTE[]> block_;
    DWORD blockSize_ = 0;
    DWORD translation_ = 0;
};

} // namespace corvane
