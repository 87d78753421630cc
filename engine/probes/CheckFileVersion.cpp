// The file version step: a module's product version, file version and company name, as event rows
// stacked above the caller's placeholder row and as a "VersionInfo" structure of the report.
#include "engine/ReportData.h"
#include "engine/probes/ProbeStep.h"
#include "framework/StringTable.h"
#include "probes/system/VersionInfo.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

namespace corvane {

namespace {

// The key of the company's name in the module's string table.
constexpr const wchar_t* kCompanyNameString = L"CompanyName";

struct VersionMember
{
    UINT verboseText;
    const wchar_t* type;
    const wchar_t* name;
    std::wstring text;
};

} // namespace

HRESULT CReportData::CheckFileVersion(const wchar_t* path, IXMLDOMNode* parent, int& rowPosition, int level,
                                      VersionFacts* examined)
{
    const AttributePair structureAttributes[] = {
        {xml::TypeAttribute, xml::VersionInfoStruct}, {xml::ModulePathAttribute, path}, {}};

    CVersionInfo versionInfo;
    const HRESULT loaded = versionInfo.Load(path);
    if (examined)
        *examined = VersionFacts{loaded, std::wstring(), std::wstring()};
    if (FAILED(loaded))
    {
        InsertRowAt(*this, rowPosition, EventStyle(EventIcon::Warning, level),
                    FormatResourceString(IDS_FILE_VERSION_FAILED, static_cast<unsigned>(loaded)));
        if (report)
        {
            const std::wstring marker = xml::ErrorMarker(loaded);
            ElementSpec element(xml::DataStruct, marker.c_str(), structureAttributes);
            report->AppendElement(&element, parent); // the caller learns of the load failure, not of this
        }
        return loaded;
    }

    InsertRowAt(*this, rowPosition, EventStyle(EventIcon::GemPage, level),
                FormatResourceString(IDS_VERSION_INFO, path));

    // Without the structure the members have nowhere to go; the rows are still written.
    CComPtr<IXMLDOMNode> structure;
    if (report)
    {
        ElementSpec element(xml::DataStruct, nullptr, structureAttributes);
        report->AppendElement(&element, parent, structure.Put());
    }

    std::wstring company;
    versionInfo.QueryString(kCompanyNameString, company);
    if (examined)
        *examined = VersionFacts{S_OK, versionInfo.GetFileVersionText(L'.'), company};
    const VersionMember members[] = {
        {IDS_PRODUCT_VERSION, xml::ValueVersion, xml::ProductVersionMember,
         versionInfo.GetProductVersionText(L'.')},
        {IDS_FILE_VERSION, xml::ValueVersion, xml::FileVersionMember, versionInfo.GetFileVersionText(L'.')},
        {IDS_VENDOR, xml::ValueString, xml::CompanyNameMember, company},
    };
    for (const VersionMember& member : members)
    {
        if (verbose)
            InsertRowAt(*this, rowPosition, EventStyle(EventIcon::Gem, level + 1),
                        FormatResourceString(member.verboseText, member.text.c_str()));
        if (structure)
        {
            const AttributePair attributes[] = {
                {xml::TypeAttribute, member.type}, {xml::NameAttribute, member.name}, {}};
            ElementSpec element(xml::DataMember, member.text.c_str(), attributes);
            report->AppendElement(&element, structure.Get());
        }
    }
    return S_OK;
}

} // namespace corvane
