// The paths that each MAPI library gives for Outlook's component under each language choice.
#include "engine/ReportData.h"

#include "framework/PathText.h"

#include "engine/probes/ProbeStep.h"
#include "res/resource.h"

namespace corvane {

namespace {
constexpr int kFirstRowLevel = 1;
constexpr int kErrorIndent = 2; // under the modules' rows, not beside them
constexpr wchar_t kStub[] = L"MAPISTUB.DLL";
constexpr wchar_t kLibrary[] = L"MAPI32.DLL";
} // namespace

HRESULT CReportData::CheckMapiComponentPaths(IXMLDOMNode* parent)
{
    if (!facts.outlook.hasLcidKeys)
        return S_FALSE;

    CProbeStep step(*this, IDS_CHECK_MAPI);
    // The libraries are loaded from the System folder, the files whose versions the step before showed:
    // a search by bare name would take a copy from the folder Corvane was started from first, and run it.
    // Without a System folder there is no path, and the load fails as for a missing file.
    EnsureTrailingBackslash(facts.systemFolder);
    const std::wstring stub = facts.systemFolder + kStub;
    const std::wstring library = facts.systemFolder + kLibrary;
    FindingFacts& examined = facts.examined;
    HRESULT hr = QueryComponentPath(kStub, parent, step.rowPosition, kFirstRowLevel, stub.c_str(),
                                    &examined.mapiStub.componentPath.emplace());
    QueryComponentPath(kLibrary, parent, step.rowPosition, kFirstRowLevel, library.c_str(),
                       &examined.mapi32.componentPath.emplace());
    if (!facts.outlook.dllPathEx.empty())
    {
        const HRESULT extra =
            QueryComponentPath(facts.outlook.dllPathEx.c_str(), parent, step.rowPosition, kFirstRowLevel,
                               nullptr, &examined.outlookMapi.componentPath.emplace());
        if (SUCCEEDED(hr))
            hr = extra;
    }
    return step.End(hr, IDS_MAPI_FAILED, kErrorIndent);
}

} // namespace corvane
