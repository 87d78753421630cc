// The texts that findings name, from this test program's own string table (res/Corvane.rc): every
// message and advice a rule gives loads, takes exactly the arguments the rule gives it, and every text of
// the findings' range is one that some finding gives.
#include "framework/StringTable.h"
#include "probes/findings/Finding.h"
#include "res/resource.h"
#include "tests/probes/findings/FindingTestFacts.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <set>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr UINT kFirstFindingString = 5000;
constexpr UINT kLastFindingString = 5999;

constexpr HRESULT kModuleNotFound = static_cast<HRESULT>(0x8007007E);
constexpr HRESULT kProcedureNotFound = static_cast<HRESULT>(0x8007007F);
constexpr HRESULT kBadExeFormat = static_cast<HRESULT>(0x800700C1);

struct Machine
{
    const char* what;
    FindingFacts (*base)();
    void (*change)(FindingFacts& facts);
};

MailClientFacts& Outlook(FindingFacts& facts)
{
    return MachineClient(facts, L"Microsoft Outlook");
}

void AddUserDefault(FindingFacts& facts, const wchar_t* name)
{
    facts.userMail->clients.push_back(SimpleMapiClient(name, L"C:\\mail.dll"));
    facts.userMail->defaultClient = name;
}

// Between them, machines on which every message of every rule is given.
const Machine kMachines[] = {
    {"Click-to-Run", Microsoft365Machine, [](FindingFacts&) {}},
    {"Click-to-Run without details", Microsoft365Machine,
     [](FindingFacts& f) {
         f.clickToRun = ClickToRunFacts{true, L"", L"", L"", L""};
     }},
    {"32-bit program, 64-bit Outlook", Microsoft365Machine,
     [](FindingFacts& f) {
         f.programBitness = Bitness::X86;
         f.outlookMapi.componentPath = ComponentPathFacts{kBadExeFormat, {}, {}, {}};
     }},
    {"no default anywhere", Microsoft365Machine,
     [](FindingFacts& f) { f.machineMail->defaultClient.clear(); }},
    {"no machine default, user's key unread", Microsoft365Machine,
     [](FindingFacts& f) {
         f.machineMail->defaultClient.clear();
         f.userMail.reset();
     }},
    {"default without key", Microsoft365Machine,
     [](FindingFacts& f) { f.machineMail->defaultClient = L"Gone Mail"; }},
    {"default without library", Outlook2003Machine,
     [](FindingFacts& f) { Outlook(f) = SimpleMapiClient(L"Microsoft Outlook", L""); }},
    {"DLLPathEx missing", Microsoft365Machine,
     [](FindingFacts& f) {
         f.outlookMapi.exists = false;
         f.outlookMapi.componentPath->loadResult = kModuleNotFound;
     }},
    {"DLLPathEx dependency missing", Microsoft365Machine,
     [](FindingFacts& f) { f.outlookMapi.componentPath->loadResult = kModuleNotFound; }},
    {"Outlook 2013 with a wrong component id", Outlook2013Machine,
     [](FindingFacts& f) { Outlook(f).msiComponentId = L"{00000000-0000-0000-0000-000000000000}"; }},
    {"component unresolved", Outlook2003Machine,
     [](FindingFacts& f) {
         f.mapiStub.componentPath = ComponentPathFacts{};
         f.mapi32.componentPath = ComponentPathFacts{};
     }},
    {"MAPI32.DLL replaced", Outlook2003Machine,
     [](FindingFacts& f) { f.mapi32.componentPath->loadResult = kProcedureNotFound; }},
    {"MAPISTUB.DLL missing", Outlook2003Machine, [](FindingFacts& f) { f.mapiStub.exists = false; }},
    {"Simple MAPI default", Outlook2003Machine,
     [](FindingFacts& f) { f.machineMail->defaultClient = L"Outlook Express"; }},
    {"user default differs", Microsoft365Machine, [](FindingFacts& f) { AddUserDefault(f, L"HCL Notes"); }},
    {"user default, no machine default", Microsoft365Machine,
     [](FindingFacts& f) {
         f.machineMail->defaultClient.clear();
         AddUserDefault(f, L"HCL Notes");
     }},
    {"user default unregistered", Microsoft365Machine,
     [](FindingFacts& f) { f.userMail->defaultClient = L"HCL Notes"; }},
    {"mailto in another client", Microsoft365Machine,
     [](FindingFacts& f) {
         MailClientFacts client = SimpleMapiClient(L"Mozilla Thunderbird", L"C:\\mozMapi32.dll");
         client.mailtoProgId = L"Thunderbird.Url.mailto";
         f.machineMail->clients.push_back(client);
         f.mailtoDefault->progId = L"Thunderbird.Url.mailto";
     }},
    {"mailto in no client", Microsoft365Machine,
     [](FindingFacts& f) { f.mailtoDefault->progId = L"MSEdgeHTM"; }},
    {"new Outlook in use", Microsoft365Machine,
     [](FindingFacts& f) {
         f.newOutlook = NewOutlookFacts{true, true};
     }},
    {"two Outlooks", Microsoft365Machine,
     [](FindingFacts& f) {
         f.installedOutlooks->push_back({L"15.0", L"C:\\Office15\\"});
     }},
    {"Outlook 2003 in 2025", Outlook2003Machine,
     [](FindingFacts& f) {
         f.runDate = CalendarDate{2025, 1, 1};
     }},
    {"no MAPI flag in one view", Microsoft365Machine,
     [](FindingFacts& f) { f.messagingSubsystem->mapi.clear(); }},
    {"no MAPI flags in both views", Microsoft365Machine,
     [](FindingFacts& f) {
         f.messagingSubsystem->mapi.clear();
         f.messagingSubsystemOtherView->mapix.clear();
     }},
    {"no language values", Outlook2003Machine,
     [](FindingFacts& f) {
         for (LanguageValueFacts& value : *f.officeLanguageValues)
             value.found = false;
     }},
    {"no language value names", Outlook2003Machine,
     [](FindingFacts& f) {
         Outlook(f).msiApplicationLcid.clear();
         Outlook(f).msiOfficeLcid.clear();
     }},
};

// The number of printf conversions in a text; -1 when one of them is not "%s", which the arguments,
// all texts, cannot fill.
int TextConversions(const std::wstring& text)
{
    int count = 0;
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 2))
    {
        if (at + 1 < text.size() && text[at + 1] == L'%')
            continue;
        if (at + 1 >= text.size() || text[at + 1] != L's')
            return -1;
        ++count;
    }
    return count;
}

void ExpectText(UINT id, const std::vector<std::wstring>& arguments, const char* what)
{
    const std::wstring text = LoadResourceString(id);
    EXPECT_FALSE(text.empty()) << "LoadResourceString(" << id << ") gave no text for the " << what;
    EXPECT_EQ(static_cast<int>(arguments.size()), TextConversions(text))
        << "string " << id << " (the " << what << "): " << ToUtf8(text);
}

} // namespace

TEST(FindingStrings, EveryFindingsTextsLoadAndTakeItsArguments)
{
    for (const Machine& machine : kMachines)
    {
        SCOPED_TRACE(machine.what);
        FindingFacts facts = machine.base();
        machine.change(facts);
        const std::vector<Finding> findings = EvaluateFindings(facts);
        EXPECT_FALSE(findings.empty()) << "the machine gives no finding";
        for (const Finding& finding : findings)
        {
            SCOPED_TRACE(ToUtf8(finding.id));
            ExpectText(finding.messageId, finding.messageArguments, "message");
            ExpectText(finding.adviceId, finding.adviceArguments, "advice");
        }
    }
}

TEST(FindingStrings, EveryTextOfTheFindingsRangeIsGivenBySomeFinding)
{
    std::set<UINT> given;
    for (const Machine& machine : kMachines)
    {
        FindingFacts facts = machine.base();
        machine.change(facts);
        for (const Finding& finding : EvaluateFindings(facts))
        {
            given.insert(finding.messageId);
            given.insert(finding.adviceId);
        }
    }
    std::set<UINT> table;
    for (UINT id = kFirstFindingString; id <= kLastFindingString; ++id)
    {
        if (!LoadResourceString(id).empty())
            table.insert(id);
    }
    EXPECT_FALSE(table.empty()) << "no string in " << kFirstFindingString << "-" << kLastFindingString;
    EXPECT_EQ(table, given) << "left: in the string table; right: given by the findings of these machines";
}

// resource.h numbers a rule's texts 5000 + 10 x its number: a finding whose id and texts disagree has
// taken another rule's id or texts.
TEST(FindingStrings, EachFindingsTextsAreInItsRulesBlock)
{
    for (const Machine& machine : kMachines)
    {
        FindingFacts facts = machine.base();
        machine.change(facts);
        for (const Finding& finding : EvaluateFindings(facts))
        {
            const std::wstring block = L"R" + std::to_wstring((finding.messageId - kFirstFindingString) / 10);
            EXPECT_EQ(block, finding.id) << machine.what << ": message " << finding.messageId;
            EXPECT_EQ(finding.messageId / 10, finding.adviceId / 10)
                << machine.what << ": " << ToUtf8(finding.id) << "'s advice " << finding.adviceId;
        }
    }
}
