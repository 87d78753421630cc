// The findings: the rules over what the run examined (RunFacts::examined), one row for each finding with
// its image by severity and its advice indented below it, and one "Finding" element of the report each,
// with the facts it rests on. "No problems found." when there is none.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "framework/StringTable.h"
#include "probes/findings/Finding.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

namespace corvane {

namespace {

constexpr int kFindingIndent = 1;
constexpr int kAdviceIndent = 2;

EventIcon SeverityIcon(FindingSeverity severity)
{
    switch (severity)
    {
    case FindingSeverity::Error:
        return EventIcon::FindingError;
    case FindingSeverity::Warning:
        return EventIcon::FindingWarning;
    case FindingSeverity::Information:
        break;
    }
    return EventIcon::FindingInformation;
}

const wchar_t* SeverityName(FindingSeverity severity)
{
    switch (severity)
    {
    case FindingSeverity::Error:
        return xml::SeverityError;
    case FindingSeverity::Warning:
        return xml::SeverityWarning;
    case FindingSeverity::Information:
        break;
    }
    return xml::SeverityInformation;
}

void AppendFinding(CReportDocument& report, IXMLDOMNode* section, const Finding& finding,
                   const std::wstring& message, const std::wstring& advice)
{
    const AttributePair attributes[] = {{xml::FindingIdAttribute, finding.id.c_str()},
                                        {xml::SeverityAttribute, SeverityName(finding.severity)}};
    ElementSpec spec(xml::Finding, nullptr, attributes, 2);
    CComPtr<IXMLDOMNode> element;
    if (FAILED(report.AppendElement(&spec, section, element.Put())))
        return;
    ElementSpec messageSpec(xml::Message, message.c_str());
    report.AppendElement(&messageSpec, element.Get());
    ElementSpec adviceSpec(xml::Advice, advice.c_str());
    report.AppendElement(&adviceSpec, element.Get());
    for (const auto& [name, value] : finding.facts)
    {
        const AttributePair factAttributes[] = {{xml::NameAttribute, name.c_str()}};
        ElementSpec factSpec(xml::Fact, value.c_str(), factAttributes, 1);
        report.AppendElement(&factSpec, element.Get()); // a fact that cannot be written is left out
    }
}

} // namespace

HRESULT CReportData::CheckFindings(IXMLDOMNode* parent)
{
    CProbeStep step(*this, IDS_CHECK_FINDINGS, ProgressKeep);
    const std::vector<Finding> findings = EvaluateFindings(facts.examined);
    if (findings.empty())
        InsertRowAt(*this, step.rowPosition, EventStyle(EventIcon::Monitor, kFindingIndent),
                    LoadResourceString(IDS_NO_FINDINGS));
    for (const Finding& finding : findings)
    {
        const std::wstring message = FormatResourceStringList(finding.messageId, finding.messageArguments);
        const std::wstring advice = FormatResourceStringList(finding.adviceId, finding.adviceArguments);
        InsertRowAt(*this, step.rowPosition, EventStyle(SeverityIcon(finding.severity), kFindingIndent),
                    FormatResourceString(IDS_FINDING_ROW, message.c_str(), finding.id.c_str()));
        InsertRowAt(*this, step.rowPosition, EventStyle(EventIcon::Gem, kAdviceIndent),
                    FormatResourceString(IDS_FINDING_ADVICE_ROW, advice.c_str()));
        if (report && parent)
            AppendFinding(*report, parent, finding, message, advice);
    }
    return step.End(S_OK, IDS_CHECK_FINDINGS);
}

} // namespace corvane
