#pragma once
// Shared pieces of the system probe tests: fixture modules, a scratch report with a section, a
// registry value set for one test, and the rows and structure the operating system probe should give.

#include "engine/ReportData.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::test {

// The two options a probe reads, for tests run with each combination.
struct ProbeOptions
{
    bool verbose;
    bool report;
};

inline const ProbeOptions kAllProbeOptions[] = {{true, true}, {false, true}, {true, false}, {false, false}};

// "VerboseWithReport" and so on, as the name of a parameterised test.
std::string ProbeOptionsName(const testing::TestParamInfo<ProbeOptions>& info);

// Windows path of a module built by tests/fixtures/system.
std::wstring SystemFixturePath(const wchar_t* name);

// The rows one per line as "icon indent text", so that a mismatch shows as a readable table.
std::wstring DescribeRows(const std::vector<EventRow>& rows);

// A report opened on the engine with one "SystemInfo" section for a probe to write below.
class CScratchReport
{
public:
    explicit CScratchReport(CReportData& engine);
    CScratchReport(const CScratchReport&) = delete;
    CScratchReport& operator=(const CScratchReport&) = delete;
    ~CScratchReport();

    HRESULT OpenResult() const { return openResult_; }
    IXMLDOMNode* Section() const { return section_.Get(); }

    // Saves the document, closes the report and returns the file's bytes.
    std::string SaveAndClose();

private:
    CReportData& engine_;
    HRESULT openResult_ = E_FAIL;
    CComPtr<IXMLDOMNode> section_;
    CScratchFolder folder_;
};

// The whole saved file of a scratch report whose section holds content (UTF-8, written out in full).
std::string ReportWithSection(const std::string& content);

// Sets a REG_SZ value for the lifetime of the object; the previous data, or its absence, comes back,
// and a key made for it is removed.
class CScratchRegistryValue
{
public:
    CScratchRegistryValue(HKEY root, const std::wstring& path, const wchar_t* name, const wchar_t* data);
    CScratchRegistryValue(const CScratchRegistryValue&) = delete;
    CScratchRegistryValue& operator=(const CScratchRegistryValue&) = delete;
    ~CScratchRegistryValue();

    LONG SetResult() const { return setResult_; }

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    bool createdKey_ = false;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldData_;
    LONG setResult_ = ERROR_INVALID_FUNCTION;
};

// A copy of a module at the end of a chain of folders whose names are already in short form, so deep
// that even the short form of its path needs more than 520 characters.
class CDeepModuleCopy
{
public:
    explicit CDeepModuleCopy(const std::wstring& module);
    CDeepModuleCopy(const CDeepModuleCopy&) = delete;
    CDeepModuleCopy& operator=(const CDeepModuleCopy&) = delete;
    ~CDeepModuleCopy();

    bool IsValid() const { return valid_; }
    const std::wstring& Path() const { return path_; }

private:
    CScratchFolder base_;
    std::vector<std::wstring> folders_; // in their \\?\ form, outermost first
    std::wstring path_;
    bool valid_ = false;
};

// What the locale services say about a language, read here without the probes' own helpers.
std::wstring LanguageDisplayName(WORD langId);
std::wstring LanguageCodeText(WORD langId);

// The operating system probe's findings; the languages are the system's and the user's defaults.
struct ExpectedOs
{
    std::wstring name;
    std::wstring platform;
    std::wstring version;
    std::wstring product;
    std::wstring suites;
};

// The probe's summary row and, when verbose, its detail rows.
std::vector<EventRow> ExpectedOsRows(const ExpectedOs& os, bool verbose);
// The "os_info" structure as saved.
std::string ExpectedOsInfo(const ExpectedOs& os);

} // namespace corvane::test
