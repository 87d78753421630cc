// Shows what a MAPI library's FGetComponentPath answers for Outlook's component under each language
// choice, as rows and as a "ProcedureCall" structure of the report.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "framework/HResult.h"
#include "framework/PathText.h"
#include "framework/StringTable.h"
#include "probes/mail/ComponentPathChild.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

#include <memory>

namespace corvane {

namespace {

struct ChoiceText
{
    const wchar_t* memberName;
    UINT rowId;
};

const ChoiceText kChoices[ComponentPathChoices] = {
    {xml::ApplicationLcidMember, IDS_MS_OUTLOOK_PATH},
    {xml::OfficeLcidMember, IDS_MS_OFFICE_PATH},
    {xml::UnspecifiedLcidMember, IDS_GENERIC_PATH},
};

// The answer as the finding rules read it. A Stop's or a timeout's code is a load that failed, on which
// no rule fires.
ComponentPathFacts ExaminedAnswer(const ComponentPathAnswer& answer)
{
    ComponentPathFacts facts;
    facts.loadResult = answer.load;
    if (FAILED(answer.load))
        return facts;
    ComponentPathCall* const calls[ComponentPathChoices] = {&facts.applicationLcid, &facts.officeLcid,
                                                            &facts.noQualifier};
    for (int choice = 0; choice < ComponentPathChoices; ++choice)
    {
        calls[choice]->found = SUCCEEDED(answer.results[choice]);
        if (calls[choice]->found)
            calls[choice]->path = answer.paths[choice];
    }
    return facts;
}

} // namespace

HRESULT CReportData::QueryComponentPath(const wchar_t* module, IXMLDOMNode* parent, int& rowPosition,
                                        int level, const wchar_t* loadPath, ComponentPathFacts* examined)
{
    if (!module)
        return E_INVALIDARG;
    InsertRowAt(*this, rowPosition, EventStyle(EventIcon::Monitor, level),
                FormatResourceString(IDS_LANGUAGE_DEPENDENT_PATH, module));

    // The library is loaded and called in a child process of this program: one that faults or hangs
    // costs this step its answer, not the run. The run's child when the driver started one; otherwise a
    // child for this question alone.
    ComponentPathAnswer answer;
    std::unique_ptr<CComponentPathChild> ownChild;
    CComponentPathChild* child = componentPathChild;
    if (StopRequested())
    {
        // A Stop that an earlier question's wait took: no library is asked any more, so that none that
        // never returns holds the run for the whole bound.
        answer.load = HResultFromWin32(ERROR_CANCELLED);
        child = nullptr;
    }
    else if (!child)
    {
        std::wstring program;
        answer.load = QueryProgramPath(program);
        if (SUCCEEDED(answer.load))
        {
            ownChild = std::make_unique<CComponentPathChild>(program);
            child = ownChild.get();
        }
    }
    if (child)
    {
        bool stopped = false;
        answer = child->Query(loadPath ? loadPath : module, facts.outlook.msiComponentId,
                              facts.outlook.msiApplicationLcid, facts.outlook.msiOfficeLcid, stopEvent.Get(),
                              kComponentPathChildTimeoutMs, stopped);
        // The wait took Stop's signal from the auto-reset event: the run must still see it.
        if (stopped)
            stopSeen = true;
    }

    if (examined)
        *examined = ExaminedAnswer(answer);

    const AttributePair structAttributes[] = {{xml::TypeAttribute, xml::ProcedureCallStruct},
                                              {xml::ProcedureAttribute, xml::ComponentPathProcedure},
                                              {xml::ModulePathAttribute, module}};
    if (FAILED(answer.load))
    {
        if (report && parent)
        {
            const std::wstring marker = xml::ErrorMarkerLine(answer.load);
            ElementSpec spec(xml::DataStruct, marker.c_str(), structAttributes, 3);
            report->AppendElement(&spec, parent);
        }
        return answer.load;
    }

    CComPtr<IXMLDOMNode> callNode;
    if (report && parent)
    {
        ElementSpec spec(xml::DataStruct, nullptr, structAttributes, 3);
        report->AppendElement(&spec, parent, callNode.Put());
    }
    for (int choice = 0; choice < ComponentPathChoices; ++choice)
    {
        const HRESULT result = answer.results[choice];
        const std::wstring& pathText = answer.paths[choice];
        if (callNode)
        {
            const std::wstring text = SUCCEEDED(result) ? pathText : xml::ErrorMarkerLine(result);
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::ValuePath},
                                                {xml::NameAttribute, kChoices[choice].memberName}};
            ElementSpec spec(xml::DataMember, text.c_str(), attributes, 2);
            report->AppendElement(&spec, callNode.Get());
        }
        if (verbose)
        {
            InsertRowAt(*this, rowPosition, EventStyle(EventIcon::WindowGrid, level + 1),
                        FormatResourceString(kChoices[choice].rowId, pathText.c_str()));
        }
    }
    return S_OK;
}

} // namespace corvane
