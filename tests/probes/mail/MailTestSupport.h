#pragma once
// What the mail and MAPI probe tests build for real: registry keys below a scratch root, a broken registry
// link, a report with one section, and the fixture modules.

#include "engine/ReportData.h"
#include "framework/UniqueHandle.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/RegistryScratch.h"
#include "tests/support/TestFiles.h"

#include <string>
#include <vector>

namespace corvane::test {

// The rows as "icon indent text" lines, so that a mismatch shows as readable text.
std::string RowsText(const std::vector<EventRow>& rows);

// A registry link whose target does not exist, so that opening it fails. Removed with the object.
class CBrokenRegistryLink
{
public:
    CBrokenRegistryLink(HKEY parent, const wchar_t* name);
    CBrokenRegistryLink(const CBrokenRegistryLink&) = delete;
    CBrokenRegistryLink& operator=(const CBrokenRegistryLink&) = delete;
    ~CBrokenRegistryLink();

private:
    HKEY parent_;
    std::wstring name_;
};

void SetBytes(HKEY key, const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes);
void SetString(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ);
// Every string with its terminator, then the closing empty string.
std::wstring MultiStringData(const std::vector<std::wstring>& strings);
void SetMultiString(HKEY key, const wchar_t* name, const std::vector<std::wstring>& strings);
void SetDword(HKEY key, const wchar_t* name, DWORD value);

// The engine's report with one "ReportSection" under "ReportData", saved to a scratch folder.
class CTestReport
{
public:
    CTestReport(CReportData& engine, const wchar_t* id, const wchar_t* title);
    CTestReport(const CTestReport&) = delete;
    CTestReport& operator=(const CTestReport&) = delete;
    ~CTestReport();

    IXMLDOMNode* Section() const { return section_.Get(); }
    // Saves the document and returns the file's bytes.
    std::string SavedText();

private:
    CReportData& engine_;
    CComPtr<IXMLDOMNode> section_;
    CScratchFolder folder_;
};

// The whole saved file of a report whose one section starts with the given tag and holds the fragment.
std::string ReportFile(const std::string& sectionStartTag, const std::string& fragment);

// Windows path of a built fixture: fixtures/mail/<relative> in the build folder.
std::wstring FixturePath(const std::wstring& relative);

// Adds a folder to the module search for bare names (after the program's own folder), for one test.
class CDllDirectory
{
public:
    explicit CDllDirectory(const std::wstring& folder) { ::SetDllDirectoryW(folder.c_str()); }
    CDllDirectory(const CDllDirectory&) = delete;
    CDllDirectory& operator=(const CDllDirectory&) = delete;
    ~CDllDirectory() { ::SetDllDirectoryW(nullptr); }
};

// Sets an environment variable of the process for one test, and removes it afterwards.
class CEnvironmentVariable
{
public:
    CEnvironmentVariable(const wchar_t* name, const wchar_t* value) : name_(name)
    {
        ::SetEnvironmentVariableW(name, value);
    }
    CEnvironmentVariable(const CEnvironmentVariable&) = delete;
    CEnvironmentVariable& operator=(const CEnvironmentVariable&) = delete;
    ~CEnvironmentVariable() { ::SetEnvironmentVariableW(name_, nullptr); }

private:
    const wchar_t* name_;
};

// True when the thread's ANSI code page carries the text both ways unchanged.
bool AnsiCodePageCarries(const std::wstring& text);

// The engine with its display recorded: an empty list, the progress at 0 of 10 and no status text.
struct MailProbeEnvironment
{
    MailProbeEnvironment();

    CRecordingSink sink;
    CReportData engine;
};

} // namespace corvane::test
