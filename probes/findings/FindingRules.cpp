// Each rule fires only on facts that were examined, and claims no more than they show: a fact left
// empty by the run keeps its rule silent. The conditions and their sources are in docs/findings.md.
#include "probes/findings/FindingRules.h"

#include "framework/StringTable.h"
#include "probes/findings/ClickToRunChannel.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string_view>

namespace corvane {

namespace {

constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x80070002);
constexpr HRESULT kPathNotFound = static_cast<HRESULT>(0x80070003);
constexpr HRESULT kModuleNotFound = static_cast<HRESULT>(0x8007007E);
constexpr HRESULT kProcedureNotFound = static_cast<HRESULT>(0x8007007F);
constexpr HRESULT kBadExeFormat = static_cast<HRESULT>(0x800700C1);
constexpr HRESULT kNoVersionResource = static_cast<HRESULT>(0x80070714);

// The key name under which every classic Outlook registers itself as a mail client.
constexpr std::wstring_view kOutlookClient = L"Microsoft Outlook";
// Outlook 2013's MSIComponentID, as Microsoft's support article on the wrong value gives it.
constexpr std::wstring_view kOutlook2013ComponentId = L"{6DB1921F-8B40-4406-A18B-E906DBEEF0C9}";

constexpr const wchar_t* kMachineMailKey = L"HKLM\\SOFTWARE\\Clients\\Mail";
constexpr const wchar_t* kUserMailKey = L"HKCU\\Software\\Clients\\Mail";

// Registry names compare without regard to case.
bool SameName(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}

std::wstring_view Trim(std::wstring_view text)
{
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring HResultText(HRESULT result)
{
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
}

std::wstring DateText(const CalendarDate& date)
{
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

Bitness Other(Bitness bitness)
{
    return bitness == Bitness::X64 ? Bitness::X86 : Bitness::X64;
}

// "C:\..." or "\\server\...": a path that names one file wherever the program runs.
bool IsFullPath(std::wstring_view path)
{
    const bool drive = path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
    return drive || (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

// The leading number of a version text ("14.0.7268.5000" gives 14); none when it has no digits there.
std::optional<unsigned> MajorVersion(std::wstring_view version)
{
    unsigned major = 0;
    size_t digits = 0;
    for (; digits < version.size() && digits < 5 && std::iswdigit(version[digits]); ++digits)
        major = major * 10 + static_cast<unsigned>(version[digits] - L'0');
    if (digits == 0)
        return std::nullopt;
    return major;
}

// The Office version that a key below Software names ("Microsoft\Office\15.0\Outlook" gives "15.0").
std::wstring_view OfficeVersionOfKey(std::wstring_view key)
{
    constexpr std::wstring_view office = L"microsoft\\office\\";
    if (key.size() <= office.size() || !SameName(key.substr(0, office.size()), office))
        return {};
    const std::wstring_view rest = key.substr(office.size());
    return rest.substr(0, rest.find(L'\\'));
}

const MailClientFacts* FindClient(const std::optional<MailClientsKeyFacts>& key, std::wstring_view name)
{
    if (!key)
        return nullptr;
    for (const MailClientFacts& client : key->clients)
    {
        if (SameName(client.name, name))
            return &client;
    }
    return nullptr;
}

bool NamesLibrary(const MailClientFacts& client)
{
    return !client.dllPath.empty() || !client.dllPathEx.empty() || !client.msiComponentId.empty();
}

// The Outlook client key as this program's view of HKLM shows it.
const MailClientFacts* OutlookClient(const FindingFacts& facts)
{
    return FindClient(facts.machineMail, kOutlookClient);
}

// The client that MAPI mail of this user goes to: the user's own default where one is set (a setting
// that programs reading the user's key first follow), else the machine's. None when neither key was
// examined.
std::optional<std::wstring> EffectiveDefault(const FindingFacts& facts)
{
    if (facts.userMail && !facts.userMail->defaultClient.empty())
        return facts.userMail->defaultClient;
    if (facts.machineMail)
        return facts.machineMail->defaultClient;
    return std::nullopt;
}

// A client registration of the name, with a MAPI library, for this user or the machine.
const MailClientFacts* RegisteredClient(const FindingFacts& facts, std::wstring_view name)
{
    for (const auto* key : {&facts.userMail, &facts.machineMail})
    {
        const MailClientFacts* client = FindClient(*key, name);
        if (client && NamesLibrary(*client))
            return client;
    }
    return nullptr;
}

// Whether the module's file is missing: from its attributes, else from a version read that found no
// file. None when neither tells.
std::optional<bool> FileMissing(const ModuleFacts& module)
{
    if (module.exists)
        return !*module.exists;
    if (module.version)
    {
        const HRESULT result = module.version->result;
        if (result == kFileNotFound || result == kPathNotFound)
            return true;
        // A read that got as far as the file's resources had the file.
        if (SUCCEEDED(result) || result == kNoVersionResource)
            return false;
    }
    return std::nullopt;
}

// The Outlook version read from Outlook's own module; none when it was not read.
std::optional<unsigned> OutlookMajorVersion(const FindingFacts& facts)
{
    const auto& version = facts.outlookModule.version;
    if (!version || FAILED(version->result))
        return std::nullopt;
    return MajorVersion(version->fileVersion);
}

Finding MakeFinding(const wchar_t* id, FindingSeverity severity, UINT messageId, UINT adviceId)
{
    Finding finding;
    finding.id = id;
    finding.severity = severity;
    finding.messageId = messageId;
    finding.adviceId = adviceId;
    return finding;
}

void AddModuleFacts(Finding& finding, const wchar_t* name, const ModuleFacts& module)
{
    finding.facts.emplace_back(name, module.path);
    if (module.exists)
        finding.facts.emplace_back(name + std::wstring(L" exists"), *module.exists ? L"yes" : L"no");
    if (module.version)
    {
        if (FAILED(module.version->result))
        {
            finding.facts.emplace_back(name + std::wstring(L" version"), HResultText(module.version->result));
        }
        else
        {
            finding.facts.emplace_back(name + std::wstring(L" FileVersion"), module.version->fileVersion);
            finding.facts.emplace_back(name + std::wstring(L" CompanyName"), module.version->companyName);
        }
    }
}

// "found" or "not found" for each of the three calls, or the load's failure.
std::wstring ComponentPathText(const ComponentPathFacts& componentPath)
{
    if (FAILED(componentPath.loadResult))
        return HResultText(componentPath.loadResult);
    std::vector<std::wstring> answers;
    for (const ComponentPathCall* call :
         {&componentPath.applicationLcid, &componentPath.officeLcid, &componentPath.noQualifier})
        answers.push_back(call->found ? call->path : L"FALSE");
    return JoinList(answers);
}

} // namespace

// Errors ---------------------------------------------------------------------------------------------

std::optional<Finding> CheckBitnessMismatch(const FindingFacts& facts)
{
    if (!facts.programBitness)
        return std::nullopt;
    const Bitness program = *facts.programBitness;
    const auto& load = facts.outlookMapi.componentPath;
    const bool loadRefused = load && load->loadResult == kBadExeFormat;
    const bool otherPlatform = facts.outlookBitness && facts.outlookBitness->bitness != program;
    if (!loadRefused && !otherPlatform)
        return std::nullopt;

    // A library that this program cannot load for its format is of the other bitness, whatever else says.
    const Bitness outlook = loadRefused ? Other(program) : facts.outlookBitness->bitness;
    Finding finding = MakeFinding(L"R1", FindingSeverity::Error, IDS_FINDING_BITNESS_MISMATCH,
                                  IDS_FINDING_BITNESS_MISMATCH_ADVICE);
    finding.messageArguments = {BitnessText(outlook), BitnessText(program)};
    finding.adviceArguments = {BitnessText(outlook),
                               outlook == Bitness::X64 ? L"Corvane64.exe" : L"Corvane.exe"};
    finding.facts.emplace_back(L"Program", BitnessText(program));
    if (loadRefused)
    {
        finding.facts.emplace_back(L"DLLPathEx", facts.outlookMapi.path);
        finding.facts.emplace_back(L"FGetComponentPath (DLLPathEx)", HResultText(load->loadResult));
    }
    if (facts.outlookBitness)
    {
        finding.facts.emplace_back(BitnessSourceText(facts.outlookBitness->source),
                                   BitnessText(facts.outlookBitness->bitness));
    }
    return finding;
}

std::optional<Finding> CheckNoDefaultMailClient(const FindingFacts& facts)
{
    if (!facts.machineMail || !facts.machineMail->defaultClient.empty())
        return std::nullopt;
    if (facts.userMail && !facts.userMail->defaultClient.empty())
        return std::nullopt;

    Finding finding =
        MakeFinding(L"R2", FindingSeverity::Error,
                    facts.userMail ? IDS_FINDING_NO_DEFAULT_CLIENT : IDS_FINDING_NO_MACHINE_DEFAULT_CLIENT,
                    IDS_FINDING_NO_DEFAULT_CLIENT_ADVICE);
    finding.facts.emplace_back(std::wstring(kMachineMailKey) + L" (Default)", L"");
    if (facts.userMail)
        finding.facts.emplace_back(std::wstring(kUserMailKey) + L" (Default)", L"");
    return finding;
}

std::optional<Finding> CheckDefaultClientUnregistered(const FindingFacts& facts)
{
    if (!facts.machineMail || facts.machineMail->defaultClient.empty())
        return std::nullopt;
    const std::wstring& name = facts.machineMail->defaultClient;
    const MailClientFacts* client = FindClient(facts.machineMail, name);
    if (client && NamesLibrary(*client))
        return std::nullopt;

    Finding finding = MakeFinding(L"R3", FindingSeverity::Error,
                                  client ? IDS_FINDING_DEFAULT_CLIENT_NO_LIBRARY
                                         : IDS_FINDING_DEFAULT_CLIENT_NOT_REGISTERED,
                                  IDS_FINDING_DEFAULT_CLIENT_UNREGISTERED_ADVICE);
    finding.messageArguments = {name};
    finding.adviceArguments = {name};
    finding.facts.emplace_back(std::wstring(kMachineMailKey) + L" (Default)", name);
    std::vector<std::wstring> names;
    for (const MailClientFacts& registered : facts.machineMail->clients)
        names.push_back(registered.name);
    finding.facts.emplace_back(std::wstring(kMachineMailKey) + L" clients", JoinList(names));
    return finding;
}

std::optional<Finding> CheckOutlookMapiLibraryMissing(const FindingFacts& facts)
{
    const MailClientFacts* outlook = OutlookClient(facts);
    if (!outlook || !IsFullPath(outlook->dllPathEx) || FileMissing(facts.outlookMapi) != true)
        return std::nullopt;

    Finding finding = MakeFinding(L"R4", FindingSeverity::Error, IDS_FINDING_OUTLOOK_MAPI_MISSING,
                                  IDS_FINDING_OUTLOOK_MAPI_MISSING_ADVICE);
    finding.messageArguments = {outlook->dllPathEx};
    AddModuleFacts(finding, L"DLLPathEx", facts.outlookMapi);
    return finding;
}

std::optional<Finding> CheckOutlookMapiDependencyMissing(const FindingFacts& facts)
{
    const MailClientFacts* outlook = OutlookClient(facts);
    const auto& load = facts.outlookMapi.componentPath;
    // Only a library loaded by its full path and known to be there fails this way for want of another.
    if (!outlook || !IsFullPath(outlook->dllPathEx) || FileMissing(facts.outlookMapi) != false || !load ||
        load->loadResult != kModuleNotFound)
        return std::nullopt;

    Finding finding = MakeFinding(L"R5", FindingSeverity::Error, IDS_FINDING_OUTLOOK_MAPI_DEPENDENCY,
                                  IDS_FINDING_OUTLOOK_MAPI_DEPENDENCY_ADVICE);
    finding.messageArguments = {outlook->dllPathEx};
    AddModuleFacts(finding, L"DLLPathEx", facts.outlookMapi);
    finding.facts.emplace_back(L"FGetComponentPath (DLLPathEx)", HResultText(load->loadResult));
    if (facts.outlookBitness)
        finding.facts.emplace_back(L"Outlook", BitnessText(facts.outlookBitness->bitness));
    return finding;
}

std::optional<Finding> CheckOutlookComponentIdWrong(const FindingFacts& facts)
{
    const MailClientFacts* outlook = OutlookClient(facts);
    if (!outlook || outlook->msiComponentId.empty() || OutlookMajorVersion(facts) != 15u)
        return std::nullopt;
    // A registration whose language value names another Office belongs to another Outlook (R14's case).
    if (!outlook->msiApplicationLcid.empty())
    {
        const std::wstring_view office = OfficeVersionOfKey(outlook->msiApplicationLcid.front());
        if (!office.empty() && office != L"15.0")
            return std::nullopt;
    }
    if (SameName(Trim(outlook->msiComponentId), kOutlook2013ComponentId))
        return std::nullopt;

    Finding finding = MakeFinding(L"R6", FindingSeverity::Error, IDS_FINDING_OUTLOOK_COMPONENT_ID,
                                  IDS_FINDING_OUTLOOK_COMPONENT_ID_ADVICE);
    finding.messageArguments = {outlook->msiComponentId};
    finding.facts.emplace_back(L"MSIComponentID", outlook->msiComponentId);
    finding.facts.emplace_back(L"Outlook FileVersion", facts.outlookModule.version->fileVersion);
    return finding;
}

std::optional<Finding> CheckOutlookComponentUnresolved(const FindingFacts& facts)
{
    const MailClientFacts* outlook = OutlookClient(facts);
    if (!outlook || outlook->msiComponentId.empty())
        return std::nullopt;

    struct Library
    {
        const wchar_t* name;
        const std::optional<ComponentPathFacts>& componentPath;
    };
    const Library libraries[] = {{L"MAPISTUB.DLL", facts.mapiStub.componentPath},
                                 {L"MAPI32.DLL", facts.mapi32.componentPath}};
    bool anyLoaded = false;
    for (const Library& library : libraries)
    {
        const auto& paths = library.componentPath;
        if (!paths || FAILED(paths->loadResult))
            continue;
        anyLoaded = true;
        if (paths->applicationLcid.found || paths->officeLcid.found || paths->noQualifier.found)
            return std::nullopt;
    }
    if (!anyLoaded)
        return std::nullopt;

    Finding finding = MakeFinding(L"R7", FindingSeverity::Error, IDS_FINDING_COMPONENT_UNRESOLVED,
                                  IDS_FINDING_COMPONENT_UNRESOLVED_ADVICE);
    finding.messageArguments = {outlook->msiComponentId};
    finding.facts.emplace_back(L"MSIComponentID", outlook->msiComponentId);
    for (const Library& library : libraries)
    {
        if (library.componentPath)
            finding.facts.emplace_back(L"FGetComponentPath (" + std::wstring(library.name) + L")",
                                       ComponentPathText(*library.componentPath));
    }
    return finding;
}

std::optional<Finding> CheckSystemMapi32Replaced(const FindingFacts& facts)
{
    const auto& stub = facts.mapiStub.componentPath;
    const auto& library = facts.mapi32.componentPath;
    if (!stub || FAILED(stub->loadResult) || !library || library->loadResult != kProcedureNotFound)
        return std::nullopt;

    Finding finding = MakeFinding(L"R8", FindingSeverity::Error, IDS_FINDING_MAPI32_REPLACED,
                                  IDS_FINDING_MAPI32_REPLACED_ADVICE);
    AddModuleFacts(finding, L"MAPI32.DLL", facts.mapi32);
    finding.facts.emplace_back(L"FGetComponentPath (MAPI32.DLL)", HResultText(library->loadResult));
    finding.facts.emplace_back(L"FGetComponentPath (MAPISTUB.DLL)", ComponentPathText(*stub));
    return finding;
}

// Warnings -------------------------------------------------------------------------------------------

std::optional<Finding> CheckMapiStubMissing(const FindingFacts& facts)
{
    if (FileMissing(facts.mapiStub) != true)
        return std::nullopt;

    Finding finding = MakeFinding(L"R9", FindingSeverity::Warning, IDS_FINDING_MAPISTUB_MISSING,
                                  IDS_FINDING_MAPISTUB_MISSING_ADVICE);
    finding.messageArguments = {facts.mapiStub.path};
    AddModuleFacts(finding, L"MAPISTUB.DLL", facts.mapiStub);
    return finding;
}

std::optional<Finding> CheckDefaultClientSimpleMapiOnly(const FindingFacts& facts)
{
    if (!facts.machineMail || facts.machineMail->defaultClient.empty())
        return std::nullopt;
    const MailClientFacts* client = FindClient(facts.machineMail, facts.machineMail->defaultClient);
    if (!client || client->dllPath.empty() || !client->dllPathEx.empty() || !client->msiComponentId.empty())
        return std::nullopt;

    Finding finding = MakeFinding(L"R10", FindingSeverity::Warning, IDS_FINDING_SIMPLE_MAPI_ONLY,
                                  IDS_FINDING_SIMPLE_MAPI_ONLY_ADVICE);
    finding.messageArguments = {client->name};
    finding.facts.emplace_back(std::wstring(kMachineMailKey) + L" (Default)",
                               facts.machineMail->defaultClient);
    finding.facts.emplace_back(L"DLLPath", client->dllPath);
    finding.facts.emplace_back(L"DLLPathEx", L"");
    finding.facts.emplace_back(L"MSIComponentID", L"");
    return finding;
}

std::optional<Finding> CheckUserDefaultOverridesMachine(const FindingFacts& facts)
{
    if (!facts.userMail || facts.userMail->defaultClient.empty() || !facts.machineMail)
        return std::nullopt;
    const std::wstring& user = facts.userMail->defaultClient;
    const std::wstring& machine = facts.machineMail->defaultClient;

    UINT messageId = 0;
    std::vector<std::wstring> arguments;
    if (!RegisteredClient(facts, user))
    {
        messageId = IDS_FINDING_USER_DEFAULT_UNREGISTERED;
        arguments = {user};
    }
    else if (machine.empty())
    {
        messageId = IDS_FINDING_USER_DEFAULT_NO_MACHINE;
        arguments = {user};
    }
    else if (!SameName(user, machine))
    {
        messageId = IDS_FINDING_USER_DEFAULT_DIFFERS;
        arguments = {user, machine, user};
    }
    else
    {
        return std::nullopt;
    }

    Finding finding =
        MakeFinding(L"R11", FindingSeverity::Warning, messageId, IDS_FINDING_USER_DEFAULT_ADVICE);
    finding.messageArguments = std::move(arguments);
    finding.facts.emplace_back(std::wstring(kUserMailKey) + L" (Default)", user);
    finding.facts.emplace_back(std::wstring(kMachineMailKey) + L" (Default)", machine);
    return finding;
}

std::optional<Finding> CheckNewOutlookInUse(const FindingFacts& facts)
{
    if (!facts.newOutlook || !facts.newOutlook->present || !facts.newOutlook->inUse)
        return std::nullopt;
    const std::optional<std::wstring> mapiDefault = EffectiveDefault(facts);
    if (!mapiDefault || !SameName(*mapiDefault, kOutlookClient))
        return std::nullopt;
    const MailClientFacts* client = RegisteredClient(facts, *mapiDefault);
    if (!client)
        return std::nullopt;

    Finding finding = MakeFinding(L"R13", FindingSeverity::Warning, IDS_FINDING_NEW_OUTLOOK,
                                  IDS_FINDING_NEW_OUTLOOK_ADVICE);
    finding.messageArguments = {*mapiDefault};
    finding.facts.emplace_back(L"New Outlook", L"present, in use");
    finding.facts.emplace_back(L"Default mail client", *mapiDefault);
    if (!client->dllPathEx.empty())
        finding.facts.emplace_back(L"DLLPathEx", client->dllPathEx);
    if (!client->msiComponentId.empty())
        finding.facts.emplace_back(L"MSIComponentID", client->msiComponentId);
    return finding;
}

std::optional<Finding> CheckSeveralOutlookVersions(const FindingFacts& facts)
{
    if (!facts.installedOutlooks)
        return std::nullopt;
    std::vector<std::wstring> versions;
    for (const InstalledOutlookFacts& outlook : *facts.installedOutlooks)
    {
        const bool seen = std::any_of(versions.begin(), versions.end(), [&](const std::wstring& version) {
            return SameName(version, outlook.version);
        });
        if (!seen)
            versions.push_back(outlook.version);
    }
    if (versions.size() < 2)
        return std::nullopt;

    Finding finding = MakeFinding(L"R14", FindingSeverity::Warning, IDS_FINDING_SEVERAL_OUTLOOKS,
                                  IDS_FINDING_SEVERAL_OUTLOOKS_ADVICE);
    finding.messageArguments = {JoinList(versions)};
    for (const InstalledOutlookFacts& outlook : *facts.installedOutlooks)
        finding.facts.emplace_back(L"Outlook " + outlook.version, outlook.path);
    return finding;
}

std::optional<Finding> CheckOutlookOutOfSupport(const FindingFacts& facts)
{
    struct Release
    {
        unsigned major;
        const wchar_t* name;
        CalendarDate endOfSupport;
    };
    // Outlook 2016 and later all have version 16; only Office 2016 is still installed by Windows
    // Installer, so 16 names one release only where Click-to-Run was examined and not found.
    static constexpr Release kReleases[] = {{11, L"2003", {2014, 4, 8}},
                                            {12, L"2007", {2017, 10, 10}},
                                            {14, L"2010", {2020, 10, 13}},
                                            {15, L"2013", {2023, 4, 11}},
                                            {16, L"2016", {2025, 10, 14}}};
    const std::optional<unsigned> major = OutlookMajorVersion(facts);
    if (!facts.runDate || !major)
        return std::nullopt;
    if (*major == 16 && (!facts.clickToRun || facts.clickToRun->found))
        return std::nullopt;
    const auto release = std::find_if(std::begin(kReleases), std::end(kReleases),
                                      [&](const Release& candidate) { return candidate.major == *major; });
    if (release == std::end(kReleases) || *facts.runDate <= release->endOfSupport)
        return std::nullopt;

    Finding finding = MakeFinding(L"R15", FindingSeverity::Warning, IDS_FINDING_OUTLOOK_UNSUPPORTED,
                                  IDS_FINDING_OUTLOOK_UNSUPPORTED_ADVICE);
    const std::wstring& version = facts.outlookModule.version->fileVersion;
    finding.messageArguments = {release->name, version, DateText(release->endOfSupport)};
    finding.facts.emplace_back(L"Outlook module", facts.outlookModule.path);
    finding.facts.emplace_back(L"Outlook FileVersion", version);
    if (*major == 16)
        finding.facts.emplace_back(L"Click-to-Run", L"not found");
    finding.facts.emplace_back(L"Run date", DateText(*facts.runDate));
    return finding;
}

std::optional<Finding> CheckMessagingSubsystemFlags(const FindingFacts& facts)
{
    if (!facts.programBitness)
        return std::nullopt;
    // Extended MAPI is expected to be announced where the default client provides it.
    const MailClientFacts* client =
        facts.machineMail ? FindClient(facts.machineMail, facts.machineMail->defaultClient) : nullptr;
    const bool extended = client && (!client->dllPathEx.empty() || !client->msiComponentId.empty());

    struct View
    {
        Bitness bitness;
        std::wstring missing;
    };
    std::vector<View> views;
    const std::pair<const std::optional<MessagingSubsystemFacts>*, Bitness> examined[] = {
        {&facts.messagingSubsystem, *facts.programBitness},
        {&facts.messagingSubsystemOtherView, Other(*facts.programBitness)}};
    for (const auto& [key, bitness] : examined)
    {
        if (!*key)
            continue;
        std::vector<std::wstring> missing;
        // Read as programs compare them: the text 1, nothing around it.
        if (!(*key)->found || (*key)->mapi != L"1")
            missing.push_back(L"MAPI=1");
        if (extended && (!(*key)->found || (*key)->mapix != L"1"))
            missing.push_back(L"MAPIX=1");
        if (!missing.empty())
            views.push_back({bitness, JoinList(missing)});
    }
    if (views.empty())
        return std::nullopt;

    Finding finding =
        MakeFinding(L"R16", FindingSeverity::Warning,
                    views.size() == 1 ? IDS_FINDING_SUBSYSTEM_FLAGS : IDS_FINDING_SUBSYSTEM_FLAGS_BOTH,
                    IDS_FINDING_SUBSYSTEM_FLAGS_ADVICE);
    for (const View& view : views)
    {
        finding.messageArguments.push_back(BitnessText(view.bitness));
        finding.messageArguments.push_back(view.missing);
    }
    for (const auto& [key, bitness] : examined)
    {
        if (!*key)
            continue;
        const std::wstring prefix =
            L"Windows Messaging Subsystem (" + std::wstring(BitnessText(bitness)) + L") ";
        if (!(*key)->found)
        {
            finding.facts.emplace_back(prefix + L"key", L"not found");
            continue;
        }
        finding.facts.emplace_back(prefix + L"MAPI", (*key)->mapi);
        finding.facts.emplace_back(prefix + L"MAPIX", (*key)->mapix);
    }
    if (extended)
        finding.facts.emplace_back(L"Default mail client", client->name);
    return finding;
}

// Information ----------------------------------------------------------------------------------------

std::optional<Finding> CheckMailtoDiffersFromMapiDefault(const FindingFacts& facts)
{
    if (!facts.mailtoDefault || facts.mailtoDefault->progId.empty())
        return std::nullopt;
    const std::wstring& progId = facts.mailtoDefault->progId;
    const std::optional<std::wstring> mapiDefault = EffectiveDefault(facts);
    if (!mapiDefault || mapiDefault->empty())
        return std::nullopt;

    const MailClientFacts* owner = nullptr;
    bool everyClientExamined = true;
    for (const auto* key : {&facts.userMail, &facts.machineMail})
    {
        if (!*key)
            continue;
        for (const MailClientFacts& client : (*key)->clients)
        {
            if (!client.mailtoProgId)
            {
                everyClientExamined = false;
                continue;
            }
            if (!SameName(*client.mailtoProgId, progId))
                continue;
            if (SameName(client.name, *mapiDefault))
                return std::nullopt;
            if (!owner)
                owner = &client;
        }
    }
    if (!owner && !everyClientExamined)
        return std::nullopt;

    Finding finding = MakeFinding(L"R12", FindingSeverity::Information,
                                  owner ? IDS_FINDING_MAILTO_DIFFERS : IDS_FINDING_MAILTO_NOT_A_CLIENT,
                                  IDS_FINDING_MAILTO_DIFFERS_ADVICE);
    finding.messageArguments = {owner ? owner->name : progId, *mapiDefault};
    finding.facts.emplace_back(L"mailto ProgId", progId);
    if (owner)
        finding.facts.emplace_back(L"mailto client", owner->name);
    finding.facts.emplace_back(L"Default mail client", *mapiDefault);
    return finding;
}

std::optional<Finding> CheckOfficeLanguageValuesMissing(const FindingFacts& facts)
{
    const MailClientFacts* outlook = OutlookClient(facts);
    if (!outlook)
        return std::nullopt;
    if (outlook->msiApplicationLcid.empty() && outlook->msiOfficeLcid.empty())
    {
        Finding finding = MakeFinding(L"R17", FindingSeverity::Information, IDS_FINDING_NO_LANGUAGE_LCIDS,
                                      IDS_FINDING_NO_LANGUAGE_LCIDS_ADVICE);
        finding.facts.emplace_back(L"MSIApplicationLCID", L"");
        finding.facts.emplace_back(L"MSIOfficeLCID", L"");
        return finding;
    }

    const auto& values = facts.officeLanguageValues;
    if (!values || values->empty())
        return std::nullopt;
    if (std::any_of(values->begin(), values->end(),
                    [](const LanguageValueFacts& value) { return value.found; }))
        return std::nullopt;

    Finding finding = MakeFinding(L"R17", FindingSeverity::Information, IDS_FINDING_LANGUAGE_VALUES,
                                  IDS_FINDING_LANGUAGE_VALUES_ADVICE);
    std::vector<std::wstring> names;
    for (const LanguageValueFacts& value : *values)
    {
        names.push_back(value.key + L"\\" + value.name);
        finding.facts.emplace_back(L"HKCU\\Software\\" + value.key + L"\\" + value.name, L"not found");
    }
    finding.messageArguments = {JoinList(names)};
    return finding;
}

std::optional<Finding> CheckClickToRun(const FindingFacts& facts)
{
    if (!facts.clickToRun || !facts.clickToRun->found)
        return std::nullopt;
    const ClickToRunFacts& clickToRun = *facts.clickToRun;
    const std::wstring channelName = ClickToRunChannelName(clickToRun.channel);
    const std::wstring summary = ClickToRunSummary(clickToRun);
    Finding finding = MakeFinding(L"R19", FindingSeverity::Information,
                                  summary.empty() ? IDS_FINDING_CLICK_TO_RUN_BARE : IDS_FINDING_CLICK_TO_RUN,
                                  IDS_FINDING_CLICK_TO_RUN_ADVICE);
    if (!summary.empty())
        finding.messageArguments = {summary};
    finding.facts.emplace_back(L"Platform", clickToRun.platform);
    finding.facts.emplace_back(L"VersionToReport", clickToRun.version);
    finding.facts.emplace_back(L"ProductReleaseIds", clickToRun.productIds);
    finding.facts.emplace_back(L"CDNBaseUrl", clickToRun.channel);
    if (!channelName.empty())
        finding.facts.emplace_back(L"Channel", channelName);
    return finding;
}

} // namespace corvane
