#include "tests/probes/system/SystemProbeTesting.h"

#include "framework/UniqueHandle.h"
#include "report/ReportVocabulary.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace corvane::test {

std::string ProbeOptionsName(const testing::TestParamInfo<ProbeOptions>& info)
{
    return std::string(info.param.verbose ? "Verbose" : "Quiet") +
           (info.param.report ? "WithReport" : "WithoutReport");
}

std::wstring SystemFixturePath(const wchar_t* name)
{
    const std::string binaryDir = CORVANE_BINARY_DIR;
    std::wstring path =
        L"Z:" + std::wstring(binaryDir.begin(), binaryDir.end()) + L"/fixtures/system/" + name;
    for (wchar_t& c : path)
    {
        if (c == L'/')
            c = L'\\';
    }
    return path;
}

std::wstring DescribeRows(const std::vector<EventRow>& rows)
{
    std::wstring table;
    for (const EventRow& row : rows)
        table += std::to_wstring(row.icon) + L" " + std::to_wstring(row.indent) + L" " + row.text + L"\n";
    return table;
}

CScratchReport::CScratchReport(CReportData& engine) : engine_(engine)
{
    CReportDocument* document = nullptr;
    openResult_ = engine_.OpenReport(&document);
    if (FAILED(openResult_))
        return;
    const AttributePair attributes[] = {
        {xml::IdAttribute, xml::SectionSystemInfo}, {xml::TitleAttribute, L"System Information"}, {}};
    ElementSpec section(xml::ReportSection, nullptr, attributes);
    openResult_ = document->AppendElement(&section, document->DataNode(), section_.Put());
}

CScratchReport::~CScratchReport()
{
    section_.Reset();
    if (engine_.report)
        engine_.CloseReport();
}

std::string CScratchReport::SaveAndClose()
{
    if (!engine_.report)
        return std::string();
    const std::wstring path = folder_.File(xml::ReportFileName);
    EXPECT_EQ(S_OK, engine_.report->Save(path.c_str())) << "CReportDocument::Save";
    section_.Reset();
    engine_.CloseReport();
    return ReadFileBytes(path);
}

std::string ReportWithSection(const std::string& content)
{
    return "<?xml version='1.0' encoding='utf-8' ?>\n"
           "<Report Type=\"CompatibilityTest\" Version=\"2.0\">\n"
           "<ReportHeader>\n"
           "</ReportHeader><ReportData>\n"
           "<ReportSection id=\"SystemInfo\" Title=\"System Information\">\n" +
           content + "</ReportSection></ReportData>\n</Report>\n";
}

CScratchRegistryValue::CScratchRegistryValue(HKEY root, const std::wstring& path, const wchar_t* name,
                                             const wchar_t* data)
    : root_(root), path_(path), name_(name)
{
    CRegKey key;
    DWORD disposition = 0;
    setResult_ = ::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                   nullptr, key.Put(), &disposition);
    if (setResult_ != ERROR_SUCCESS)
        return;
    createdKey_ = disposition == REG_CREATED_NEW_KEY;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), name_.c_str(), nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS)
    {
        oldData_.resize(size);
        hadValue_ = ::RegQueryValueExW(key.Get(), name_.c_str(), nullptr, &oldType_, oldData_.data(),
                                       &size) == ERROR_SUCCESS;
    }
    const DWORD bytes = static_cast<DWORD>((std::wcslen(data) + 1) * sizeof(wchar_t));
    setResult_ =
        ::RegSetValueExW(key.Get(), name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes);
}

CScratchRegistryValue::~CScratchRegistryValue()
{
    if (createdKey_)
    {
        ::RegDeleteKeyW(root_, path_.c_str());
        return;
    }
    CRegKey key;
    if (::RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
        return;
    if (hadValue_)
        ::RegSetValueExW(key.Get(), name_.c_str(), 0, oldType_, oldData_.data(),
                         static_cast<DWORD>(oldData_.size()));
    else
        ::RegDeleteValueW(key.Get(), name_.c_str());
}

CDeepModuleCopy::CDeepModuleCopy(const std::wstring& module)
{
    // Paths this long are only accepted in their \\?\ form for creating and removing.
    std::wstring folder = base_.Path();
    for (int depth = 0; depth < 60; ++depth)
    {
        wchar_t name[16];
        std::swprintf(name, 16, L"\\D%07d", depth);
        folder += name;
        if (!::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr))
        {
            ADD_FAILURE() << "CreateDirectoryW failed with " << ::GetLastError();
            return;
        }
        folders_.push_back(L"\\\\?\\" + folder);
    }
    path_ = folder + L"\\MODULE.DLL";
    valid_ = ::CopyFileW(module.c_str(), (L"\\\\?\\" + path_).c_str(), FALSE) != FALSE;
    if (!valid_)
        ADD_FAILURE() << "CopyFileW failed with " << ::GetLastError();
}

CDeepModuleCopy::~CDeepModuleCopy()
{
    if (valid_)
        ::DeleteFileW((L"\\\\?\\" + path_).c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
        ::RemoveDirectoryW(folder->c_str());
}

namespace {
std::wstring LocaleText(WORD langId, LCTYPE type)
{
    wchar_t text[260] = {};
    if (::GetLocaleInfoW(MAKELCID(langId, SORT_DEFAULT), type, text, 260) == 0)
        return std::wstring();
    return text;
}

std::string Member(const char* name, const std::wstring& text)
{
    return std::string("<DataMember Name=\"") + name + "\">" + ToUtf8(text) + "</DataMember>\n";
}

std::string LanguageMember(const char* name, WORD langId)
{
    return std::string("<DataMember Name=\"") + name + "\" Title=\"" + ToUtf8(LanguageDisplayName(langId)) +
           "\">" + ToUtf8(LanguageCodeText(langId)) + "</DataMember>\n";
}
} // namespace

std::wstring LanguageDisplayName(WORD langId)
{
    return LocaleText(langId, LOCALE_SLANGUAGE);
}

std::wstring LanguageCodeText(WORD langId)
{
    const std::wstring language = LocaleText(langId, LOCALE_SISO639LANGNAME);
    const std::wstring country = LocaleText(langId, LOCALE_SISO3166CTRYNAME);
    if (language.size() != 2 || country.size() != 2)
        return std::wstring();
    return language + L"_" + country;
}

std::vector<EventRow> ExpectedOsRows(const ExpectedOs& os, bool verbose)
{
    std::vector<EventRow> rows = {{L"OS: " + os.name, 7, 1}};
    if (verbose)
    {
        rows.insert(rows.end(),
                    {{L"Platform: " + os.platform, 4, 2},
                     {L"Version: " + os.version, 4, 2},
                     {L"Type:  " + os.product, 4, 2},
                     {L"Suite: " + os.suites, 4, 2},
                     {L"System Language: " + LanguageDisplayName(::GetSystemDefaultLangID()), 4, 2},
                     {L"User Language: " + LanguageDisplayName(::GetUserDefaultLangID()), 4, 2}});
    }
    return rows;
}

std::string ExpectedOsInfo(const ExpectedOs& os)
{
    return "<DataStruct Name=\"os_info\" Title=\"" + ToUtf8(os.name) + "\">\n" + Member("os_name", os.name) +
           Member("os_platform", os.platform) + Member("os_version", os.version) +
           Member("os_product", os.product) + Member("os_suite", os.suites) +
           LanguageMember("os_langsys", ::GetSystemDefaultLangID()) +
           LanguageMember("os_langusr", ::GetUserDefaultLangID()) + "</DataStruct>";
}

} // namespace corvane::test
