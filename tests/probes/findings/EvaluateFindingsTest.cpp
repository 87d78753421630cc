// All rules over whole machines: what nothing examined, healthy machines and broken ones give, and the
// order the findings come in.
#include "probes/findings/Finding.h"
#include "res/resource.h"
#include "tests/probes/findings/FindingTestFacts.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

using IdList = std::vector<std::wstring>;

constexpr HRESULT kBadExeFormat = static_cast<HRESULT>(0x800700C1);

} // namespace

TEST(EvaluateFindings, NothingExaminedFindsNothing)
{
    const std::vector<Finding> findings = EvaluateFindings(FindingFacts{});
    EXPECT_TRUE(findings.empty()) << Describe(findings);
}

TEST(EvaluateFindings, AHealthyMachineFindsOnlyWhatItIs)
{
    EXPECT_EQ(IdList{L"R19"}, Ids(EvaluateFindings(Microsoft365Machine())));
    const std::vector<Finding> outlook2003 = EvaluateFindings(Outlook2003Machine());
    EXPECT_TRUE(outlook2003.empty()) << Describe(outlook2003);
}

// The 64-bit Click-to-Run machine as each program sees it: Corvane.exe cannot load Outlook's MAPI,
// Corvane64.exe can.
TEST(EvaluateFindings, The64BitClickToRunMachineIsAnErrorOnlyForThe32BitProgram)
{
    FindingFacts seenBy32Bit = Microsoft365Machine();
    seenBy32Bit.programBitness = Bitness::X86;
    seenBy32Bit.outlookMapi.componentPath = ComponentPathFacts{kBadExeFormat, {}, {}, {}};
    EXPECT_EQ((IdList{L"R1", L"R19"}), Ids(EvaluateFindings(seenBy32Bit)));

    EXPECT_EQ(IdList{L"R19"}, Ids(EvaluateFindings(Microsoft365Machine())));
}

TEST(EvaluateFindings, AMachineWithoutDefaultMailClientHasOneErrorNotItsConsequences)
{
    FindingFacts facts = Outlook2003Machine();
    facts.machineMail->defaultClient.clear();
    EXPECT_EQ(IdList{L"R2"}, Ids(EvaluateFindings(facts)));
}

TEST(EvaluateFindings, ErrorsComeFirstThenWarningsThenInformationEachInRuleOrder)
{
    FindingFacts facts = Microsoft365Machine();
    facts.programBitness = Bitness::X86; // R1, error
    facts.outlookMapi.componentPath = ComponentPathFacts{kBadExeFormat, {}, {}, {}};
    facts.mapiStub.exists = false; // R9, warning
    MailClientFacts thunderbird = SimpleMapiClient(L"Mozilla Thunderbird", L"C:\\mozMapi32.dll");
    thunderbird.mailtoProgId = L"Thunderbird.Url.mailto";
    facts.machineMail->clients.push_back(thunderbird);
    facts.mailtoDefault->progId = L"Thunderbird.Url.mailto"; // R12, information
    facts.newOutlook = NewOutlookFacts{true, true};          // R13, warning
    facts.installedOutlooks->push_back({L"14.0", L"C:\\Program Files\\Microsoft Office\\Office14\\"}); // R14
    for (LanguageValueFacts& value : *facts.officeLanguageValues) // R17, information
        value.found = false;
    // R19, information: the Click-to-Run Office itself.

    const std::vector<Finding> findings = EvaluateFindings(facts);
    EXPECT_EQ((IdList{L"R1", L"R9", L"R13", L"R14", L"R12", L"R17", L"R19"}), Ids(findings))
        << Describe(findings);
}

TEST(EvaluateFindings, EachFindingIsTheRulesOwnVerdict)
{
    FindingFacts facts = Outlook2003Machine();
    facts.runDate = CalendarDate{2025, 3, 14};
    const std::vector<Finding> findings = EvaluateFindings(facts);
    ASSERT_EQ(1u, findings.size()) << Describe(findings);
    Finding expected;
    expected.id = L"R15";
    expected.severity = FindingSeverity::Warning;
    expected.messageId = IDS_FINDING_OUTLOOK_UNSUPPORTED;
    expected.adviceId = IDS_FINDING_OUTLOOK_UNSUPPORTED_ADVICE;
    expected.messageArguments = {L"2003", L"11.0.8217.0", L"2014-04-08"};
    expected.facts = {{L"Outlook module", L"C:\\Program Files\\Microsoft Office\\OFFICE11\\OUTLLIB.DLL"},
                      {L"Outlook FileVersion", L"11.0.8217.0"},
                      {L"Run date", L"2025-03-14"}};
    EXPECT_EQ(expected, findings[0]);
}
