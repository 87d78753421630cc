#include "tests/probes/findings/FindingTestFacts.h"

#include "tests/support/TestFiles.h"

namespace corvane::test {

namespace {

ComponentPathFacts AllFound(const std::wstring& path)
{
    ComponentPathFacts paths;
    paths.applicationLcid = {true, path};
    paths.officeLcid = {true, path};
    paths.noQualifier = {true, path};
    return paths;
}

ModuleFacts Module(const std::wstring& path, const std::wstring& version, const std::wstring& company)
{
    ModuleFacts module;
    module.path = path;
    module.exists = true;
    module.version = VersionFacts{S_OK, version, company};
    return module;
}

std::vector<LanguageValueFacts> LanguageValues(const std::wstring& office)
{
    const std::wstring outlook = L"Microsoft\\Office\\" + office + L"\\Outlook";
    const std::wstring common = L"Microsoft\\Office\\" + office + L"\\Common\\LanguageResources";
    return {{outlook, L"LastUILanguage", true},
            {common, L"UILanguage", true},
            {common, L"InstallLanguage", true}};
}

MailClientFacts Outlook(const std::wstring& office, const std::wstring& library,
                        const std::wstring& componentId)
{
    MailClientFacts client;
    client.name = L"Microsoft Outlook";
    client.dllPath = library;
    client.dllPathEx = library;
    client.msiComponentId = componentId;
    client.msiApplicationLcid = {L"Microsoft\\Office\\" + office + L"\\Outlook", L"LastUILanguage"};
    client.msiOfficeLcid = {L"Microsoft\\Office\\" + office + L"\\Common\\LanguageResources", L"UILanguage",
                            L"InstallLanguage"};
    return client;
}

} // namespace

FindingFacts Microsoft365Machine()
{
    const std::wstring library =
        L"C:\\Program Files\\Microsoft "
        L"Office\\root\\VFS\\ProgramFilesCommonX64\\System\\MSMAPI\\1033\\MSMAPI32.DLL";
    const std::wstring version = L"16.0.18129.20116";

    FindingFacts facts;
    facts.programBitness = Bitness::X64;
    facts.runDate = CalendarDate{2025, 3, 14};
    facts.computerName = L"DESKTOP-7Q2K";
    facts.userName = L"anna";

    MailClientFacts outlook = Outlook(L"16.0", library, L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}");
    outlook.mailtoProgId = L"Outlook.URL.mailto.15";
    facts.machineMail = MailClientsKeyFacts{L"Microsoft Outlook", {outlook}};
    facts.userMail = MailClientsKeyFacts{};
    facts.officeLanguageValues = LanguageValues(L"16.0");

    facts.messagingSubsystem = MessagingSubsystemFacts{true, L"1", L"1"};
    facts.messagingSubsystemOtherView = MessagingSubsystemFacts{true, L"1", L"1"};
    facts.mapiStub = Module(L"C:\\Windows\\system32\\MAPISTUB.DLL", L"1.0.2536.0", L"Microsoft Corporation");
    facts.mapiStub.componentPath = AllFound(library);
    facts.mapi32 = Module(L"C:\\Windows\\system32\\MAPI32.DLL", L"1.0.2536.0", L"Microsoft Corporation");
    facts.mapi32.componentPath = AllFound(library);
    facts.outlookMapi = Module(library, version, L"Microsoft Corporation");
    facts.outlookMapi.componentPath = AllFound(library);

    facts.outlookModule = Module(L"C:\\Program Files\\Microsoft Office\\root\\Office16\\OUTLLIB.DLL", version,
                                 L"Microsoft Corporation");
    facts.outlookBitness = OutlookBitnessFacts{Bitness::X64, BitnessSource::ClickToRunPlatform};
    facts.installedOutlooks = std::vector<InstalledOutlookFacts>{
        {L"16.0", L"C:\\Program Files\\Microsoft Office\\root\\Office16\\"}};
    facts.clickToRun =
        ClickToRunFacts{true, L"x64", version, L"O365ProPlusRetail",
                        L"http://officecdn.microsoft.com/pr/492350f6-3a01-4f97-b9c0-c7c6ddf67d60"};
    facts.newOutlook = NewOutlookFacts{false, false};
    facts.mailtoDefault = MailtoDefaultFacts{L"Outlook.URL.mailto.15", L""};
    facts.mapiProfiles = MapiProfilesFacts{{L"Outlook"}, L"Outlook"};
    return facts;
}

FindingFacts Outlook2003Machine()
{
    const std::wstring library = L"C:\\Program Files\\Common Files\\System\\MSMAPI\\1033\\MSMAPI32.DLL";

    FindingFacts facts;
    facts.programBitness = Bitness::X86;
    facts.runDate = CalendarDate{2013, 6, 4};
    facts.computerName = L"OFFICE-XP";
    facts.userName = L"Administrator";

    facts.machineMail =
        MailClientsKeyFacts{L"Microsoft Outlook",
                            {Outlook(L"11.0", library, L"{FF1D0740-D227-11D1-A4B0-006008AF820E}"),
                             SimpleMapiClient(L"Outlook Express", L"C:\\WINDOWS\\system32\\msoe.dll")}};
    facts.userMail = MailClientsKeyFacts{};
    facts.officeLanguageValues = LanguageValues(L"11.0");

    // 32-bit Windows has one registry view only: the other is never examined.
    facts.messagingSubsystem = MessagingSubsystemFacts{true, L"1", L"1"};
    facts.mapiStub = Module(L"C:\\WINDOWS\\system32\\MAPISTUB.DLL", L"1.0.2536.0", L"Microsoft Corporation");
    facts.mapiStub.componentPath = AllFound(library);
    facts.mapi32 = Module(L"C:\\WINDOWS\\system32\\MAPI32.DLL", L"1.0.2536.0", L"Microsoft Corporation");
    facts.mapi32.componentPath = AllFound(library);
    facts.outlookMapi = Module(library, L"11.0.8217.0", L"Microsoft Corporation");
    facts.outlookMapi.componentPath = AllFound(library);

    facts.outlookModule = Module(L"C:\\Program Files\\Microsoft Office\\OFFICE11\\OUTLLIB.DLL",
                                 L"11.0.8217.0", L"Microsoft Corporation");
    facts.outlookBitness = OutlookBitnessFacts{Bitness::X86, BitnessSource::ExecutableMachine};
    facts.installedOutlooks =
        std::vector<InstalledOutlookFacts>{{L"11.0", L"C:\\Program Files\\Microsoft Office\\OFFICE11\\"}};
    facts.clickToRun = ClickToRunFacts{};
    facts.mailtoDefault =
        MailtoDefaultFacts{L"", L"\"C:\\PROGRA~1\\MICROS~2\\OFFICE11\\OUTLOOK.EXE\" -c IPM.Note /m \"%1\""};
    facts.mapiProfiles = MapiProfilesFacts{{L"Outlook"}, L"Outlook"};
    return facts;
}

FindingFacts Outlook2013Machine()
{
    const std::wstring library = L"C:\\Program Files\\Microsoft Office\\Office15\\OLMAPI32.DLL";
    FindingFacts facts = Microsoft365Machine();
    facts.machineMail->clients = {Outlook(L"15.0", library, L"{6DB1921F-8B40-4406-A18B-E906DBEEF0C9}")};
    facts.officeLanguageValues = LanguageValues(L"15.0");
    facts.outlookMapi = Module(library, L"15.0.5537.1000", L"Microsoft Corporation");
    facts.outlookMapi.componentPath = AllFound(library);
    facts.mapiStub.componentPath = AllFound(library);
    facts.mapi32.componentPath = AllFound(library);
    facts.outlookModule = Module(L"C:\\Program Files\\Microsoft Office\\Office15\\OUTLLIB.DLL",
                                 L"15.0.5537.1000", L"Microsoft Corporation");
    facts.outlookBitness = OutlookBitnessFacts{Bitness::X64, BitnessSource::MsiBitness};
    facts.installedOutlooks =
        std::vector<InstalledOutlookFacts>{{L"15.0", L"C:\\Program Files\\Microsoft Office\\Office15\\"}};
    facts.clickToRun = ClickToRunFacts{};
    facts.mailtoDefault = MailtoDefaultFacts{};
    return facts;
}

MailClientFacts& MachineClient(FindingFacts& facts, const std::wstring& name)
{
    for (auto* key : {&facts.machineMail, &facts.userMail})
    {
        if (!*key)
            continue;
        for (MailClientFacts& client : (*key)->clients)
        {
            if (client.name == name)
                return client;
        }
    }
    ADD_FAILURE() << "no client key " << ToUtf8(name) << " in the machine's facts";
    static MailClientFacts none;
    return none;
}

MailClientFacts SimpleMapiClient(const std::wstring& name, const std::wstring& dllPath)
{
    MailClientFacts client;
    client.name = name;
    client.dllPath = dllPath;
    return client;
}

void ExpectRuleCases(Rule rule, const wchar_t* id, FindingSeverity severity, const FindingFacts& machine,
                     const std::vector<RuleCase>& cases)
{
    for (const RuleCase& ruleCase : cases)
    {
        SCOPED_TRACE(ruleCase.what);
        FindingFacts facts = machine;
        ruleCase.change(facts);
        const std::optional<Finding> finding = rule(facts);
        if (!ruleCase.expected)
        {
            EXPECT_FALSE(finding) << "the rule fired: " << Describe(finding);
            continue;
        }
        ASSERT_TRUE(finding) << "the rule stayed silent";
        EXPECT_EQ(id, finding->id);
        EXPECT_EQ(severity, finding->severity);
        EXPECT_EQ(ruleCase.expected->messageId, finding->messageId);
        EXPECT_EQ(ruleCase.expected->arguments, finding->messageArguments);
    }
}

std::string Describe(const std::optional<Finding>& finding)
{
    if (!finding)
        return "(none)";
    std::string text = ToUtf8(finding->id) + " " + std::to_string(finding->messageId);
    for (const std::wstring& argument : finding->messageArguments)
        text += " [" + ToUtf8(argument) + "]";
    return text;
}

std::string Describe(const std::vector<Finding>& findings)
{
    std::string text;
    for (const Finding& finding : findings)
        text += Describe(finding) + "\n";
    return text.empty() ? "(none)" : text;
}

std::vector<std::wstring> Ids(const std::vector<Finding>& findings)
{
    std::vector<std::wstring> ids;
    for (const Finding& finding : findings)
        ids.push_back(finding.id);
    return ids;
}

} // namespace corvane::test
