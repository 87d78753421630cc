// The rules over the registered mail clients and the defaults that choose among them: each rule's
// table starts from a machine with nothing wrong and changes one thing per row.
#include "probes/findings/FindingRules.h"
#include "res/resource.h"
#include "tests/probes/findings/FindingTestFacts.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const wchar_t* const kThunderbird = L"Mozilla Thunderbird";

MailClientFacts Thunderbird()
{
    MailClientFacts client =
        SimpleMapiClient(kThunderbird, L"C:\\Program Files\\Mozilla Thunderbird\\mozMapi32_InUse.dll");
    client.mailtoProgId = L"Thunderbird.Url.mailto";
    return client;
}

void AddMachineThunderbird(FindingFacts& facts)
{
    facts.machineMail->clients.push_back(Thunderbird());
}

void AddUserThunderbird(FindingFacts& facts)
{
    facts.userMail->clients.push_back(Thunderbird());
}

} // namespace

TEST(NoDefaultMailClient, FiresOnlyWhenEveryExaminedDefaultIsEmpty)
{
    ExpectRuleCases(CheckNoDefaultMailClient, L"R2", FindingSeverity::Error, Microsoft365Machine(),
                    {
                        {"the machine's default names Outlook", [](FindingFacts&) {}, std::nullopt},
                        {"neither the machine nor the user has a default",
                         [](FindingFacts& f) { f.machineMail->defaultClient.clear(); },
                         ExpectedFinding{IDS_FINDING_NO_DEFAULT_CLIENT, {}}},
                        {"the machine has none and the user's key was not examined",
                         [](FindingFacts& f) {
                             f.machineMail->defaultClient.clear();
                             f.userMail.reset();
                         },
                         ExpectedFinding{IDS_FINDING_NO_MACHINE_DEFAULT_CLIENT, {}}},
                        {"the machine has none but the user has one (R11's case)",
                         [](FindingFacts& f) {
                             f.machineMail->defaultClient.clear();
                             f.userMail->defaultClient = L"Microsoft Outlook";
                         },
                         std::nullopt},
                        {"the machine's key was not examined",
                         [](FindingFacts& f) {
                             f.machineMail.reset();
                             f.userMail->defaultClient.clear();
                         },
                         std::nullopt},
                        {"a default of blanks names a client key, not none (R3's case)",
                         [](FindingFacts& f) { f.machineMail->defaultClient = L" "; }, std::nullopt},
                    });
}

TEST(DefaultClientUnregistered, FiresWhenTheDefaultLeadsToNoLibrary)
{
    ExpectRuleCases(
        CheckDefaultClientUnregistered, L"R3", FindingSeverity::Error, Microsoft365Machine(),
        {
            {"the default's key names Outlook's library", [](FindingFacts&) {}, std::nullopt},
            {"the default names a key that is not there",
             [](FindingFacts& f) { f.machineMail->defaultClient = kThunderbird; },
             ExpectedFinding{IDS_FINDING_DEFAULT_CLIENT_NOT_REGISTERED, {kThunderbird}}},
            {"the default's key names no library",
             [](FindingFacts& f) {
                 MailClientFacts& outlook = MachineClient(f, L"Microsoft Outlook");
                 outlook.dllPath.clear();
                 outlook.dllPathEx.clear();
                 outlook.msiComponentId.clear();
             },
             ExpectedFinding{IDS_FINDING_DEFAULT_CLIENT_NO_LIBRARY, {L"Microsoft Outlook"}}},
            {"DLLPath alone is a registration (R10's case)",
             [](FindingFacts& f) {
                 MailClientFacts& outlook = MachineClient(f, L"Microsoft Outlook");
                 outlook.dllPathEx.clear();
                 outlook.msiComponentId.clear();
             },
             std::nullopt},
            {"MSIComponentID alone is a registration",
             [](FindingFacts& f) {
                 MailClientFacts& outlook = MachineClient(f, L"Microsoft Outlook");
                 outlook.dllPath.clear();
                 outlook.dllPathEx.clear();
             },
             std::nullopt},
            {"key names are matched in any case",
             [](FindingFacts& f) { f.machineMail->defaultClient = L"MICROSOFT OUTLOOK"; }, std::nullopt},
            {"no default at all (R2's case)", [](FindingFacts& f) { f.machineMail->defaultClient.clear(); },
             std::nullopt},
            {"a key registered for the user only does not serve the machine's default",
             [](FindingFacts& f) {
                 f.machineMail->defaultClient = kThunderbird;
                 AddUserThunderbird(f);
             },
             ExpectedFinding{IDS_FINDING_DEFAULT_CLIENT_NOT_REGISTERED, {kThunderbird}}},
            {"the machine's key was not examined", [](FindingFacts& f) { f.machineMail.reset(); },
             std::nullopt},
        });
}

TEST(DefaultClientUnregistered, AdviceNamesTheClientAndFactsListTheRegisteredOnes)
{
    FindingFacts facts = Microsoft365Machine();
    facts.machineMail->defaultClient = kThunderbird;
    const std::optional<Finding> finding = CheckDefaultClientUnregistered(facts);
    ASSERT_TRUE(finding);
    EXPECT_EQ(std::vector<std::wstring>{kThunderbird}, finding->adviceArguments);
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"HKLM\\SOFTWARE\\Clients\\Mail (Default)", kThunderbird},
        {L"HKLM\\SOFTWARE\\Clients\\Mail clients", L"Microsoft Outlook"}};
    EXPECT_EQ(expected, finding->facts);
}

TEST(DefaultClientSimpleMapiOnly, FiresForADefaultWithDllPathOnly)
{
    ExpectRuleCases(
        CheckDefaultClientSimpleMapiOnly, L"R10", FindingSeverity::Warning, Microsoft365Machine(),
        {
            {"Outlook registers full MAPI", [](FindingFacts&) {}, std::nullopt},
            {"a Thunderbird-like default registers DLLPath only",
             [](FindingFacts& f) {
                 AddMachineThunderbird(f);
                 f.machineMail->defaultClient = kThunderbird;
             },
             ExpectedFinding{IDS_FINDING_SIMPLE_MAPI_ONLY, {kThunderbird}}},
            {"DLLPath with MSIComponentID is full MAPI",
             [](FindingFacts& f) { MachineClient(f, L"Microsoft Outlook").dllPathEx.clear(); }, std::nullopt},
            {"DLLPath with DLLPathEx is full MAPI",
             [](FindingFacts& f) { MachineClient(f, L"Microsoft Outlook").msiComponentId.clear(); },
             std::nullopt},
            {"a Simple MAPI client that is not the default",
             [](FindingFacts& f) { AddMachineThunderbird(f); }, std::nullopt},
            {"a default that names no library is R3's",
             [](FindingFacts& f) {
                 MachineClient(f, L"Microsoft Outlook") = SimpleMapiClient(L"Microsoft Outlook", L"");
             },
             std::nullopt},
        });
}

TEST(UserDefaultOverridesMachine, FiresWhenTheUsersDefaultIsNotTheMachines)
{
    ExpectRuleCases(
        CheckUserDefaultOverridesMachine, L"R11", FindingSeverity::Warning, Microsoft365Machine(),
        {
            {"the user has no default of their own", [](FindingFacts&) {}, std::nullopt},
            {"the user's default is the machine's, in another case",
             [](FindingFacts& f) { f.userMail->defaultClient = L"microsoft outlook"; }, std::nullopt},
            {"the user's default is a client registered for the user",
             [](FindingFacts& f) {
                 AddUserThunderbird(f);
                 f.userMail->defaultClient = kThunderbird;
             },
             ExpectedFinding{IDS_FINDING_USER_DEFAULT_DIFFERS,
                             {kThunderbird, L"Microsoft Outlook", kThunderbird}}},
            {"the user's default is a client registered for the machine",
             [](FindingFacts& f) {
                 AddMachineThunderbird(f);
                 f.userMail->defaultClient = kThunderbird;
             },
             ExpectedFinding{IDS_FINDING_USER_DEFAULT_DIFFERS,
                             {kThunderbird, L"Microsoft Outlook", kThunderbird}}},
            {"the user's default is registered nowhere",
             [](FindingFacts& f) { f.userMail->defaultClient = L"HCL Notes"; },
             ExpectedFinding{IDS_FINDING_USER_DEFAULT_UNREGISTERED, {L"HCL Notes"}}},
            {"the user's default has a key but no library",
             [](FindingFacts& f) {
                 f.userMail->clients.push_back(SimpleMapiClient(L"HCL Notes", L""));
                 f.userMail->defaultClient = L"HCL Notes";
             },
             ExpectedFinding{IDS_FINDING_USER_DEFAULT_UNREGISTERED, {L"HCL Notes"}}},
            {"the machine has no default",
             [](FindingFacts& f) {
                 f.machineMail->defaultClient.clear();
                 f.userMail->defaultClient = L"Microsoft Outlook";
             },
             ExpectedFinding{IDS_FINDING_USER_DEFAULT_NO_MACHINE, {L"Microsoft Outlook"}}},
            {"the machine's key was not examined",
             [](FindingFacts& f) {
                 f.userMail->defaultClient = L"HCL Notes";
                 f.machineMail.reset();
             },
             std::nullopt},
            {"the user's key was not examined", [](FindingFacts& f) { f.userMail.reset(); }, std::nullopt},
        });
}

TEST(MailtoDiffersFromMapiDefault, FiresWhenLinksOpenInAnotherProgramThanMapiUses)
{
    ExpectRuleCases(
        CheckMailtoDiffersFromMapiDefault, L"R12", FindingSeverity::Information, Microsoft365Machine(),
        {
            {"links open in Outlook, the MAPI default", [](FindingFacts&) {}, std::nullopt},
            {"the ProgId is matched in any case",
             [](FindingFacts& f) { f.mailtoDefault->progId = L"outlook.url.MAILTO.15"; }, std::nullopt},
            {"links open in another registered client",
             [](FindingFacts& f) {
                 AddMachineThunderbird(f);
                 f.mailtoDefault->progId = L"Thunderbird.Url.mailto";
             },
             ExpectedFinding{IDS_FINDING_MAILTO_DIFFERS, {kThunderbird, L"Microsoft Outlook"}}},
            {"links open with a ProgId that no examined client registers",
             [](FindingFacts& f) { f.mailtoDefault->progId = L"MSEdgeHTM"; },
             ExpectedFinding{IDS_FINDING_MAILTO_NOT_A_CLIENT, {L"MSEdgeHTM", L"Microsoft Outlook"}}},
            {"an unclaimed ProgId while a client's mailto was not examined",
             [](FindingFacts& f) {
                 MachineClient(f, L"Microsoft Outlook").mailtoProgId.reset();
                 f.mailtoDefault->progId = L"MSEdgeHTM";
             },
             std::nullopt},
            {"the user's own MAPI default is the client that links open in",
             [](FindingFacts& f) {
                 AddUserThunderbird(f);
                 f.userMail->defaultClient = kThunderbird;
                 f.mailtoDefault->progId = L"Thunderbird.Url.mailto";
             },
             std::nullopt},
            {"links open in Outlook while the user's MAPI default is another client",
             [](FindingFacts& f) {
                 AddUserThunderbird(f);
                 f.userMail->defaultClient = kThunderbird;
             },
             ExpectedFinding{IDS_FINDING_MAILTO_DIFFERS, {L"Microsoft Outlook", kThunderbird}}},
            {"no user choice for links (Windows XP)",
             [](FindingFacts& f) { f.mailtoDefault->progId.clear(); }, std::nullopt},
            {"no MAPI default (R2's case)",
             [](FindingFacts& f) {
                 f.machineMail->defaultClient.clear();
                 f.mailtoDefault->progId = L"MSEdgeHTM";
             },
             std::nullopt},
            {"the link default was not examined", [](FindingFacts& f) { f.mailtoDefault.reset(); },
             std::nullopt},
        });
}

TEST(NewOutlookInUse, FiresWhenTheUserWorksInTheNewOutlookAndMapiGoesToClassicOutlook)
{
    ExpectRuleCases(
        CheckNewOutlookInUse, L"R13", FindingSeverity::Warning, Microsoft365Machine(),
        {
            {"no new Outlook", [](FindingFacts&) {}, std::nullopt},
            {"the user works in the new Outlook",
             [](FindingFacts& f) {
                 f.newOutlook = NewOutlookFacts{true, true};
             },
             ExpectedFinding{IDS_FINDING_NEW_OUTLOOK, {L"Microsoft Outlook"}}},
            {"the new Outlook is installed but not used",
             [](FindingFacts& f) {
                 f.newOutlook = NewOutlookFacts{true, false};
             },
             std::nullopt},
            {"the user's own MAPI default is classic Outlook",
             [](FindingFacts& f) {
                 f.newOutlook = NewOutlookFacts{true, true};
                 AddMachineThunderbird(f);
                 f.machineMail->defaultClient = kThunderbird;
                 f.userMail->defaultClient = L"Microsoft Outlook";
             },
             ExpectedFinding{IDS_FINDING_NEW_OUTLOOK, {L"Microsoft Outlook"}}},
            {"MAPI goes to another client",
             [](FindingFacts& f) {
                 f.newOutlook = NewOutlookFacts{true, true};
                 AddMachineThunderbird(f);
                 f.machineMail->defaultClient = kThunderbird;
             },
             std::nullopt},
            {"the default names classic Outlook but its key is gone (R3's case)",
             [](FindingFacts& f) {
                 f.newOutlook = NewOutlookFacts{true, true};
                 f.machineMail->clients.clear();
             },
             std::nullopt},
            {"the new Outlook was not examined", [](FindingFacts& f) { f.newOutlook.reset(); }, std::nullopt},
        });
}
