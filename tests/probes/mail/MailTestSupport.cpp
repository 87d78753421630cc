#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

namespace corvane::test {

std::string RowsText(const std::vector<EventRow>& rows)
{
    std::string text;
    for (const EventRow& row : rows)
        text += std::to_string(row.icon) + " " + std::to_string(row.indent) + " " + ToUtf8(row.text) + "\n";
    return text;
}

CBrokenRegistryLink::CBrokenRegistryLink(HKEY parent, const wchar_t* name) : parent_(parent), name_(name)
{
    CRegKey link;
    LONG status = ::RegCreateKeyExW(parent_, name, 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, link.Put(), nullptr);
    EXPECT_EQ(ERROR_SUCCESS, status) << "RegCreateKeyExW of the link";
    if (status != ERROR_SUCCESS)
        return;
    const wchar_t target[] = L"\\Registry\\Machine\\Software\\CorvaneMailTest\\MissingLinkTarget";
    status = ::RegSetValueExW(link.Get(), L"SymbolicLinkValue", 0, REG_LINK,
                              reinterpret_cast<const BYTE*>(target), sizeof(target) - sizeof(wchar_t));
    EXPECT_EQ(ERROR_SUCCESS, status) << "RegSetValueExW SymbolicLinkValue";
}

CBrokenRegistryLink::~CBrokenRegistryLink()
{
    // A link is deleted as itself, not through its (missing) target.
    using NtDeleteKeyProc = LONG(WINAPI*)(HANDLE);
    CRegKey link;
    if (::RegOpenKeyExW(parent_, name_.c_str(), REG_OPTION_OPEN_LINK, DELETE | KEY_READ, link.Put()) !=
        ERROR_SUCCESS)
        return;
    auto deleteKey = reinterpret_cast<NtDeleteKeyProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    if (!deleteKey)
    {
        ADD_FAILURE() << "GetProcAddress NtDeleteKey";
        return;
    }
    EXPECT_EQ(0, deleteKey(link.Get())) << "NtDeleteKey of the link";
}

void SetBytes(HKEY key, const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes)
{
    const LONG status = ::RegSetValueExW(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    EXPECT_EQ(ERROR_SUCCESS, status) << "RegSetValueExW " << ToUtf8(name ? name : L"");
}

void SetString(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type)
{
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    SetBytes(key, name, type, std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t)));
}

std::wstring MultiStringData(const std::vector<std::wstring>& strings)
{
    std::wstring data;
    for (const std::wstring& item : strings)
        data.append(item).push_back(L'\0');
    data.push_back(L'\0');
    return data;
}

void SetMultiString(HKEY key, const wchar_t* name, const std::vector<std::wstring>& strings)
{
    const std::wstring data = MultiStringData(strings);
    const auto* first = reinterpret_cast<const BYTE*>(data.data());
    SetBytes(key, name, REG_MULTI_SZ, std::vector<BYTE>(first, first + data.size() * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    const auto* first = reinterpret_cast<const BYTE*>(&value);
    SetBytes(key, name, REG_DWORD, std::vector<BYTE>(first, first + sizeof(value)));
}

CTestReport::CTestReport(CReportData& engine, const wchar_t* id, const wchar_t* title) : engine_(engine)
{
    CReportDocument* document = nullptr;
    const HRESULT hr = engine_.OpenReport(&document);
    EXPECT_EQ(S_OK, hr) << "OpenReport";
    if (FAILED(hr))
        return;
    const AttributePair attributes[] = {{L"id", id}, {L"Title", title}};
    ElementSpec spec(L"ReportSection", nullptr, attributes, 2);
    EXPECT_EQ(S_OK, document->AppendElement(&spec, document->DataNode(), section_.Put())) << "section";
}

CTestReport::~CTestReport()
{
    section_.Reset();
    if (engine_.report)
        engine_.CloseReport();
}

std::string CTestReport::SavedText()
{
    if (!engine_.report)
        return std::string();
    const std::wstring path = folder_.File(L"Corvane.xml");
    EXPECT_EQ(S_OK, engine_.report->Save(path.c_str())) << "Save";
    return ReadFileBytes(path);
}

std::string ReportFile(const std::string& sectionStartTag, const std::string& fragment)
{
    return "<?xml version='1.0' encoding='utf-8' ?>\n"
           "<Report Type=\"CompatibilityTest\" Version=\"2.0\">\n"
           "<ReportHeader>\n"
           "</ReportHeader><ReportData>\n" +
           sectionStartTag + "\n" + fragment +
           "</ReportSection></ReportData>\n"
           "</Report>\n";
}

MailProbeEnvironment::MailProbeEnvironment()
{
    engine.AttachSink(&sink);
    engine.RemoveEvent(-1);
    engine.UpdateProgress(ProgressReset, 10, L"");
}

bool AnsiCodePageCarries(const std::wstring& text)
{
    char ansi[256] = {};
    BOOL lossy = FALSE;
    const int length =
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), -1, ansi, sizeof ansi, nullptr, &lossy);
    if (length <= 0 || lossy)
        return false;
    wchar_t back[256] = {};
    return ::MultiByteToWideChar(CP_THREAD_ACP, 0, ansi, -1, back, 256) > 0 && text == back;
}

std::wstring FixturePath(const std::wstring& relative)
{
    std::wstring path = L"Z:";
    for (const char* c = CORVANE_BINARY_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path + L"\\fixtures\\mail\\" + relative;
}

} // namespace corvane::test
