// The operating system probe: version, edition, service pack, suites and languages, as event rows and
// as the "os_info" structure of the report.
#include "engine/ReportData.h"
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "probes/system/LanguageInfo.h"
#include "probes/system/OsVersionRules.h"
#include "probes/system/QueryOsInfo.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

namespace corvane {

namespace {

constexpr int kLanguageNameLength = 260;

// A language's display name; empty text and false when the system cannot name it.
struct LanguageName
{
    explicit LanguageName(WORD langId) : found(SUCCEEDED(GetLanguageName(langId, text, kLanguageNameLength)))
    {}

    wchar_t text[kLanguageNameLength];
    bool found;
};

void AppendMember(CReportDocument& report, IXMLDOMNode* structure, const wchar_t* name, const wchar_t* text,
                  const wchar_t* title = nullptr)
{
    const AttributePair attributes[] = {{xml::NameAttribute, name}, {xml::TitleAttribute, title}, {}};
    ElementSpec element(xml::DataMember, text, attributes, title ? 2 : 1);
    report.AppendElement(&element, structure); // a member that cannot be written is left out
}

HRESULT AppendOsInfo(CReportDocument& report, IXMLDOMNode* parent, const OsInfo& info,
                     const std::wstring& version, const LanguageName& systemLanguage,
                     const LanguageName& userLanguage)
{
    const AttributePair attributes[] = {
        {xml::NameAttribute, xml::OsInfoStruct}, {xml::TitleAttribute, info.name}, {}};
    ElementSpec element(xml::DataStruct, nullptr, attributes);
    CComPtr<IXMLDOMNode> structure;
    RETURN_IF_FAILED(report.AppendElement(&element, parent, structure.Put()));

    AppendMember(report, structure.Get(), xml::OsName, info.name);
    AppendMember(report, structure.Get(), xml::OsPlatform, info.platform);
    AppendMember(report, structure.Get(), xml::OsVersion, version.c_str());
    AppendMember(report, structure.Get(), xml::OsProduct, info.product_type);
    AppendMember(report, structure.Get(), xml::OsSuite, info.suites);
    if (systemLanguage.found)
        AppendMember(report, structure.Get(), xml::OsLangSys, info.system_lang_code, systemLanguage.text);
    if (userLanguage.found)
        AppendMember(report, structure.Get(), xml::OsLangUsr, info.user_lang_code, userLanguage.text);
    return S_OK;
}

} // namespace

HRESULT CReportData::CheckSystemVersion(IXMLDOMNode* parent)
{
    const std::wstring status = LoadResourceString(IDS_CHECK_SYSTEM_VERSION);
    UpdateProgress(ProgressStep, 0, status.c_str());
    const int row = InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), status.c_str());

    facts.osInfo = OsInfo{};
    facts.osInfo.size = sizeof(OsInfo);
    HRESULT hr = QueryOsInfo(&facts.osInfo);
    if (FAILED(hr))
    {
        UpdateEventF(row, EventStyle(EventIcon::Warning, 1), IDS_SYSTEM_VERSION_FAILED, hr);
    }
    else
    {
        UpdateEventF(row, EventStyle(EventIcon::Monitor, 1), IDS_OS, facts.osInfo.name);

        const std::wstring version = FormatVersionText(facts.osInfo);
        const LanguageName systemLanguage(facts.osInfo.system_lang_id);
        const LanguageName userLanguage(facts.osInfo.user_lang_id);
        if (report)
            hr = AppendOsInfo(*report, parent, facts.osInfo, version, systemLanguage, userLanguage);

        if (verbose)
        {
            const DWORD detail = EventStyle(EventIcon::Gem, 2);
            InsertEventF(-1, detail, IDS_PLATFORM, facts.osInfo.platform);
            InsertEventF(-1, detail, IDS_VERSION, version.c_str());
            InsertEventF(-1, detail, IDS_TYPE, facts.osInfo.product_type);
            InsertEventF(-1, detail, IDS_SUITE, facts.osInfo.suites);
            if (systemLanguage.found)
                InsertEventF(-1, detail, IDS_SYSTEM_LANGUAGE, systemLanguage.text);
            if (userLanguage.found)
                InsertEventF(-1, detail, IDS_USER_LANGUAGE, userLanguage.text);
        }
    }
    UpdateProgress(ProgressKeep, 0, DefaultStatusText);
    return hr;
}

} // namespace corvane
