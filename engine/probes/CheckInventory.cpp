// The inventory: what support staff ask for first and the four sections do not show, as summary rows with
// their details below them (verbose mode) and as "Inventory" structures of the report, each one also a
// fact for the findings. Nothing here fails the run: a key that is missing, as most of them are on Windows
// XP and 2000, is a fact like any other; one that cannot be read shows its error marker and is no fact.
//
// Keys that Windows keeps per bitness are read where their owners write them: Click-to-Run's
// configuration in the 64-bit view, Office's version keys in both views, and for a 32-bit program on
// 64-bit Windows the Windows Messaging Subsystem key of the 64-bit view as well (Corvane64.exe's other
// view is the 32-bit one, which Corvane.exe shows as its own). A value from another view than the
// program's own says so.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "framework/HResult.h"
#include "framework/PathText.h"
#include "framework/StringTable.h"
#include "probes/findings/ClickToRunChannel.h"
#include "probes/inventory/ExecutableBitness.h"
#include "probes/inventory/LanguageValues.h"
#include "probes/inventory/MailClientsKey.h"
#include "probes/inventory/MapiProfiles.h"
#include "probes/inventory/MessagingSubsystemKey.h"
#include "probes/inventory/OfficeRegistry.h"
#include "probes/inventory/PackageRepository.h"
#include "probes/inventory/RegistryRead.h"
#include "probes/inventory/RegistryView.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

#include <vector>

namespace corvane {

namespace {

constexpr int kSummaryIndent = 1;
constexpr int kDetailIndent = 2;

constexpr const wchar_t* kMachineRoot = L"HKLM";
constexpr const wchar_t* kUserRoot = L"HKCU";
constexpr const wchar_t* kClickToRunKey = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
constexpr const wchar_t* kOfficeKey = L"SOFTWARE\\Microsoft\\Office";
constexpr const wchar_t* kMessagingSubsystemKey = L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem";
constexpr const wchar_t* kUserSoftwareKey = L"Software";
constexpr const wchar_t* kUserMailKey = L"Software\\Clients\\Mail";
constexpr const wchar_t* kUserOfficeKey = L"Software\\Microsoft\\Office";
constexpr const wchar_t* kMailtoChoiceKey =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\mailto\\UserChoice";
constexpr const wchar_t* kMailtoChoiceValue = L"ProgId";
constexpr const wchar_t* kMailtoCommandKey = L"mailto\\shell\\open\\command"; // below HKEY_CLASSES_ROOT
constexpr const wchar_t* kPackagesKey = L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\"
                                        L"CurrentVersion\\AppModel\\Repository\\Packages";
constexpr const wchar_t* kNewOutlookFamily = L"Microsoft.OutlookForWindows_";
constexpr const wchar_t* kNewOutlookPreferencesKey =
    L"Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences";
constexpr const wchar_t* kUseNewOutlookValue = L"UseNewOutlook";
constexpr const wchar_t* kOutlookProfilesKey = L"\\Outlook\\Profiles"; // below an Office version's key
constexpr const wchar_t* kOutlookKey = L"\\Outlook";
constexpr const wchar_t* kMessagingProfilesKey =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
// Outlook 2013 (15.0) was the first to keep its profiles below its own key.
constexpr unsigned kFirstOfficeWithOwnProfiles = 15;
constexpr const wchar_t* kOutlookClient = L"Microsoft Outlook";
constexpr const wchar_t* kOutlookExecutable = L"OUTLOOK.EXE";

std::wstring KeyName(const wchar_t* root, const std::wstring& path)
{
    return std::wstring(root) + L"\\" + path;
}

bool IsOwn(const RegistryView& view)
{
    return view.access == 0;
}

// The text, and the view it came from where that is not the program's own.
std::wstring InView(const std::wstring& text, const RegistryView& view)
{
    if (IsOwn(view))
        return text;
    return FormatResourceString(IDS_IN_REGISTRY_VIEW, text.c_str(), BitnessText(view.bitness));
}

unsigned MajorOf(const std::wstring& officeVersion)
{
    return static_cast<unsigned>(std::wcstoul(officeVersion.c_str(), nullptr, 10));
}

// Rows above the step's placeholder and report elements below the section, for one inventory.
class CInventory
{
public:
    CInventory(CReportData& engine, IXMLDOMNode* section, int& rowPosition)
        : engine_(engine), section_(engine.report ? section : nullptr), rowPosition_(rowPosition),
          views_(ThisProgramRegistryViews())
    {}

    void Run()
    {
        Session();
        ClickToRun();
        ClassicOutlook();
        OutlookBitness();
        UserMailClient();
        MailtoDefault();
        NewOutlook();
        MapiProfiles();
        OtherViewMessagingSubsystem();
        LanguageValues();
    }

private:
    FindingFacts& Facts() { return engine_.facts.examined; }

    void Summary(const std::wstring& text)
    {
        InsertRowAt(engine_, rowPosition_, EventStyle(EventIcon::Monitor, kSummaryIndent), text);
    }

    void Detail(EventIcon icon, const std::wstring& text)
    {
        if (engine_.verbose)
            InsertRowAt(engine_, rowPosition_, EventStyle(icon, kDetailIndent), text);
    }

    // A structure of the report (null without one); marker, when given, is its whole text.
    CComPtr<IXMLDOMNode> Structure(const wchar_t* name, const std::wstring& marker = std::wstring())
    {
        CComPtr<IXMLDOMNode> node;
        if (!section_)
            return node;
        const AttributePair attributes[] = {{xml::TypeAttribute, xml::InventoryStruct},
                                            {xml::NameAttribute, name}};
        ElementSpec spec(xml::DataStruct, marker.empty() ? nullptr : marker.c_str(), attributes, 2);
        engine_.report->AppendElement(&spec, section_, node.Put());
        return node;
    }

    void Member(IXMLDOMNode* structure, const wchar_t* name, const std::wstring& text,
                const wchar_t* type = xml::ValueString)
    {
        if (!structure)
            return;
        const AttributePair attributes[] = {{xml::TypeAttribute, type}, {xml::NameAttribute, name}};
        ElementSpec spec(xml::DataMember, text.c_str(), attributes, 2);
        engine_.report->AppendElement(&spec, structure); // a member that cannot be written is left out
    }

    void ViewMember(IXMLDOMNode* structure, const RegistryView& view)
    {
        if (!IsOwn(view))
            Member(structure, xml::RegistryViewMember, BitnessText(view.bitness));
    }

    // The view that Click-to-Run writes to: the 64-bit one where there is one.
    RegistryView ClickToRunView() const { return SixtyFourBitView(views_).value_or(views_.own); }

    // The program's own view first, then the other one where Windows has it.
    std::vector<RegistryView> AllViews() const
    {
        std::vector<RegistryView> views{views_.own};
        if (views_.other)
            views.push_back(*views_.other);
        return views;
    }

    void Session()
    {
        const FindingFacts& facts = Facts();
        CComPtr<IXMLDOMNode> structure = Structure(xml::SessionStruct);
        if (facts.computerName)
        {
            Summary(FormatResourceString(IDS_COMPUTER_NAME, facts.computerName->c_str()));
            Member(structure.Get(), xml::ComputerNameMember, *facts.computerName);
        }
        if (facts.userName)
        {
            Summary(FormatResourceString(IDS_USER_NAME, facts.userName->c_str()));
            Member(structure.Get(), xml::UserNameMember, *facts.userName);
        }
    }

    void ClickToRun()
    {
        const RegistryView view = ClickToRunView();
        CRegKey key;
        const LONG status = OpenRegistryKey(HKEY_LOCAL_MACHINE, kClickToRunKey, view.access, key);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        {
            const std::wstring marker = xml::ErrorMarker(HResultFromRegistry(status));
            Summary(InView(FormatResourceString(IDS_CLICK_TO_RUN, marker.c_str()), view));
            Structure(xml::ClickToRunStruct, marker);
            return;
        }
        CComPtr<IXMLDOMNode> structure = Structure(xml::ClickToRunStruct);
        Member(structure.Get(), xml::RegistryKeyMember, KeyName(kMachineRoot, kClickToRunKey));
        ViewMember(structure.Get(), view);
        if (status == ERROR_FILE_NOT_FOUND)
        {
            Facts().clickToRun = ClickToRunFacts{};
            Summary(InView(LoadResourceString(IDS_CLICK_TO_RUN_NONE), view));
            Member(structure.Get(), xml::InstalledMember, xml::No);
            return;
        }

        const ClickToRunFacts& clickToRun =
            Facts().clickToRun.emplace(ReadClickToRunConfiguration(key.Get()));
        const std::wstring channelName = ClickToRunChannelName(clickToRun.channel);
        const std::wstring summary = ClickToRunSummary(clickToRun);
        Summary(InView(summary.empty() ? LoadResourceString(IDS_CLICK_TO_RUN_BARE)
                                       : FormatResourceString(IDS_CLICK_TO_RUN, summary.c_str()),
                       view));
        Member(structure.Get(), xml::InstalledMember, xml::Yes);

        struct Value
        {
            const std::wstring& text;
            UINT row;
            const wchar_t* member;
            const wchar_t* type;
        };
        const Value values[] = {
            {clickToRun.platform, IDS_CLICK_TO_RUN_PLATFORM, xml::PlatformMember, xml::ValueString},
            {clickToRun.version, IDS_CLICK_TO_RUN_VERSION, xml::VersionToReportMember, xml::ValueVersion},
            {clickToRun.productIds, IDS_CLICK_TO_RUN_PRODUCTS, xml::ProductReleaseIdsMember,
             xml::ValueString},
            {channelName, IDS_CLICK_TO_RUN_CHANNEL, xml::UpdateChannelMember, xml::ValueString},
            {clickToRun.channel, IDS_CLICK_TO_RUN_CHANNEL_URL, xml::CdnBaseUrlMember, xml::ValueString},
        };
        for (const Value& value : values)
        {
            if (value.text.empty())
                continue;
            Detail(EventIcon::Gem, FormatResourceString(value.row, value.text.c_str()));
            Member(structure.Get(), value.member, value.text, value.type);
        }
    }

    void ClassicOutlook()
    {
        std::vector<std::wstring> versions;
        std::vector<InstalledOutlookFacts> installed;
        CComPtr<IXMLDOMNode> list;
        if (section_)
        {
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::ListTypedMap},
                                                {xml::NameAttribute, xml::ClassicOutlookList}};
            ElementSpec spec(xml::DataList, nullptr, attributes, 2);
            engine_.report->AppendElement(&spec, section_, list.Put());
        }
        bool examined = false;
        std::vector<std::wstring> paths;
        for (const RegistryView& view : AllViews())
        {
            CRegKey office;
            const LONG status = OpenRegistryKey(HKEY_LOCAL_MACHINE, kOfficeKey, view.access, office);
            examined = examined || status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
            if (status != ERROR_SUCCESS)
                continue;
            for (OutlookInstallation& installation : ReadOutlookInstallations(office.Get()))
            {
                const std::wstring name = InView(installation.outlook.version, view);
                versions.push_back(name);
                paths.push_back(FormatResourceString(IDS_CLASSIC_OUTLOOK_PATH, name.c_str(),
                                                     installation.outlook.path.c_str()));
                if (list)
                {
                    const AttributePair attributes[] = {{xml::TypeAttribute, xml::ValuePath},
                                                        {xml::NameAttribute, name.c_str()}};
                    ElementSpec spec(xml::DataItem, installation.outlook.path.c_str(), attributes, 2);
                    engine_.report->AppendElement(&spec, list.Get());
                }
                if (installation.bitness && !msiBitness_)
                {
                    msiBitness_ = *installation.bitness;
                    msiBitnessKey_ =
                        InView(KeyName(kMachineRoot, std::wstring(kOfficeKey) + L"\\" +
                                                         installation.outlook.version + kOutlookKey),
                               view);
                }
                installed.push_back(std::move(installation.outlook));
            }
        }
        if (versions.empty())
            Summary(LoadResourceString(IDS_CLASSIC_OUTLOOK_NONE));
        else
            Summary(FormatResourceString(IDS_CLASSIC_OUTLOOK, JoinList(versions).c_str()));
        for (const std::wstring& path : paths)
            Detail(EventIcon::WindowGrid, path);
        // The newest, for Outlook's executable where App Paths named no folder.
        if (!installed.empty())
            newestInstallRoot_ = installed.back().path;
        if (examined)
            Facts().installedOutlooks = std::move(installed);
    }

    // Click-to-Run's platform, else the bitness that Windows Installer recorded, else OUTLOOK.EXE's machine
    // in the folder that App Paths names (or, where the run did not get there, the newest InstallRoot).
    void OutlookBitness()
    {
        std::optional<OutlookBitnessFacts> found;
        std::wstring location;
        std::optional<RegistryView> locationView;
        const auto& clickToRun = Facts().clickToRun;
        if (clickToRun && clickToRun->found)
        {
            if (const auto bitness = BitnessOfPlatform(clickToRun->platform))
            {
                found = OutlookBitnessFacts{*bitness, BitnessSource::ClickToRunPlatform};
                location = KeyName(kMachineRoot, kClickToRunKey);
                locationView = ClickToRunView();
            }
        }
        if (!found && msiBitness_)
        {
            found = OutlookBitnessFacts{*msiBitness_, BitnessSource::MsiBitness};
            location = msiBitnessKey_;
        }
        if (!found)
        {
            std::wstring folder =
                engine_.facts.outlookFolder.empty() ? newestInstallRoot_ : engine_.facts.outlookFolder;
            if (!folder.empty())
            {
                EnsureTrailingBackslash(folder);
                const std::wstring executable = folder + kOutlookExecutable;
                Bitness bitness = Bitness::X86;
                if (SUCCEEDED(ReadExecutableBitness(executable.c_str(), bitness)))
                {
                    found = OutlookBitnessFacts{bitness, BitnessSource::ExecutableMachine};
                    location = executable;
                }
            }
        }

        CComPtr<IXMLDOMNode> structure = Structure(xml::OutlookBitnessStruct);
        if (!found)
        {
            Summary(LoadResourceString(IDS_OUTLOOK_BITNESS_NONE));
            Member(structure.Get(), xml::BitnessMember, std::wstring());
            return;
        }
        Facts().outlookBitness = found;
        const wchar_t* source = BitnessSourceText(found->source);
        Summary(FormatResourceString(IDS_OUTLOOK_BITNESS, BitnessText(found->bitness), source));
        if (locationView)
            location = InView(location, *locationView);
        Detail(EventIcon::Gem, FormatResourceString(IDS_OUTLOOK_BITNESS_SOURCE, location.c_str()));
        Member(structure.Get(), xml::BitnessMember, BitnessText(found->bitness));
        Member(structure.Get(), xml::SourceMember, source);
        Member(structure.Get(), xml::LocationMember, location);
    }

    void UserMailClient()
    {
        CRegKey key;
        const LONG status = OpenRegistryKey(HKEY_CURRENT_USER, kUserMailKey, 0, key);
        CComPtr<IXMLDOMNode> structure;
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        {
            const std::wstring marker = xml::ErrorMarker(HResultFromRegistry(status));
            Summary(FormatResourceString(IDS_USER_MAIL_CLIENT, marker.c_str()));
            Structure(xml::UserMailClientStruct, marker);
            return;
        }
        const MailClientsKeyFacts& mail = Facts().userMail.emplace(
            status == ERROR_SUCCESS ? ReadMailClientsKey(key.Get()) : MailClientsKeyFacts{});
        Summary(mail.defaultClient.empty()
                    ? LoadResourceString(IDS_USER_MAIL_CLIENT_NONE)
                    : FormatResourceString(IDS_USER_MAIL_CLIENT, mail.defaultClient.c_str()));
        structure = Structure(xml::UserMailClientStruct);
        Member(structure.Get(), xml::RegistryKeyMember, KeyName(kUserRoot, kUserMailKey));
        Member(structure.Get(), xml::DefaultMember, mail.defaultClient);
    }

    // The user's choice in Windows' default programs (Vista and later), else the command that
    // HKEY_CLASSES_ROOT\mailto opens e-mail links with.
    void MailtoDefault()
    {
        MailtoDefaultFacts mailto;
        CRegKey choice;
        if (OpenRegistryKey(HKEY_CURRENT_USER, kMailtoChoiceKey, 0, choice) == ERROR_SUCCESS)
            mailto.progId = ReadRegistryText(choice.Get(), kMailtoChoiceValue).value_or(std::wstring());
        if (mailto.progId.empty())
        {
            CRegKey command;
            if (OpenRegistryKey(HKEY_CLASSES_ROOT, kMailtoCommandKey, 0, command) == ERROR_SUCCESS)
                mailto.openCommand = ReadRegistryText(command.Get(), L"").value_or(std::wstring());
        }

        if (!mailto.progId.empty())
            Summary(FormatResourceString(IDS_MAILTO_CHOICE, mailto.progId.c_str()));
        else if (!mailto.openCommand.empty())
            Summary(FormatResourceString(IDS_MAILTO_COMMAND, mailto.openCommand.c_str()));
        else
            Summary(LoadResourceString(IDS_MAILTO_NONE));
        CComPtr<IXMLDOMNode> structure = Structure(xml::MailtoDefaultStruct);
        Member(structure.Get(), xml::UserChoiceMember, mailto.progId);
        if (mailto.progId.empty())
            Member(structure.Get(), xml::OpenCommandMember, mailto.openCommand);
        Facts().mailtoDefault = std::move(mailto);
    }

    // Installed: the package registered for the user (Windows 8 and later). In use: the switch of the
    // classic Outlook's toggle, "Try the new Outlook".
    void NewOutlook()
    {
        std::wstring package;
        CRegKey packages;
        if (OpenRegistryKey(HKEY_CURRENT_USER, kPackagesKey, 0, packages) == ERROR_SUCCESS)
            package = FindRegisteredPackage(packages.Get(), kNewOutlookFamily);
        bool inUse = false;
        CRegKey preferences;
        if (OpenRegistryKey(HKEY_CURRENT_USER, kNewOutlookPreferencesKey, 0, preferences) == ERROR_SUCCESS)
            inUse = ReadRegistryNumber(preferences.Get(), kUseNewOutlookValue).value_or(0) != 0;
        const bool present = !package.empty();
        Facts().newOutlook = NewOutlookFacts{present, inUse};

        Summary(LoadResourceString(!present ? IDS_NEW_OUTLOOK_NONE
                                   : inUse  ? IDS_NEW_OUTLOOK_IN_USE
                                            : IDS_NEW_OUTLOOK_NOT_IN_USE));
        if (present)
            Detail(EventIcon::Gem, FormatResourceString(IDS_NEW_OUTLOOK_PACKAGE, package.c_str()));
        CComPtr<IXMLDOMNode> structure = Structure(xml::NewOutlookStruct);
        Member(structure.Get(), xml::InstalledMember, present ? xml::Yes : xml::No);
        Member(structure.Get(), xml::InUseMember, inUse ? xml::Yes : xml::No);
        if (present)
            Member(structure.Get(), xml::PackageMember, package);
    }

    // Outlook 2013 and later keep the user's profiles below their own Office version's key, the newest
    // first; earlier ones below the Windows Messaging Subsystem's key of the user.
    void MapiProfiles()
    {
        MapiProfilesFacts profiles;
        std::wstring where;
        CRegKey office;
        if (OpenRegistryKey(HKEY_CURRENT_USER, kUserOfficeKey, 0, office) == ERROR_SUCCESS)
        {
            std::vector<std::wstring> versions = OfficeVersionNames(office.Get());
            for (auto version = versions.rbegin(); version != versions.rend() && where.empty(); ++version)
            {
                CRegKey outlook;
                CRegKey list;
                if (MajorOf(*version) < kFirstOfficeWithOwnProfiles ||
                    OpenRegistryKey(office.Get(), (*version + kOutlookProfilesKey).c_str(), 0, list) !=
                        ERROR_SUCCESS ||
                    OpenRegistryKey(office.Get(), (*version + kOutlookKey).c_str(), 0, outlook) !=
                        ERROR_SUCCESS)
                    continue;
                profiles = ReadMapiProfiles(list.Get(), outlook.Get());
                where =
                    KeyName(kUserRoot, std::wstring(kUserOfficeKey) + L"\\" + *version + kOutlookProfilesKey);
            }
        }
        if (where.empty())
        {
            CRegKey list;
            if (OpenRegistryKey(HKEY_CURRENT_USER, kMessagingProfilesKey, 0, list) == ERROR_SUCCESS)
            {
                profiles = ReadMapiProfiles(list.Get(), list.Get());
                where = KeyName(kUserRoot, kMessagingProfilesKey);
            }
        }

        const std::wstring count = std::to_wstring(profiles.names.size());
        if (profiles.names.empty())
            Summary(LoadResourceString(IDS_MAPI_PROFILES_NONE));
        else if (profiles.defaultProfile.empty())
            Summary(FormatResourceString(IDS_MAPI_PROFILES_NO_DEFAULT, count.c_str()));
        else
            Summary(FormatResourceString(IDS_MAPI_PROFILES, count.c_str(), profiles.defaultProfile.c_str()));
        for (const std::wstring& name : profiles.names)
            Detail(EventIcon::Gem, FormatResourceString(IDS_MAPI_PROFILE, name.c_str()));

        CComPtr<IXMLDOMNode> structure = Structure(xml::MapiProfilesStruct);
        if (!where.empty())
            Member(structure.Get(), xml::RegistryKeyMember, where);
        Member(structure.Get(), xml::CountMember, count);
        Member(structure.Get(), xml::DefaultMember, profiles.defaultProfile);
        for (const std::wstring& name : profiles.names)
            Member(structure.Get(), xml::ProfileMember, name);
        Facts().mapiProfiles = std::move(profiles);
    }

    void OtherViewMessagingSubsystem()
    {
        if (views_.own.bitness != Bitness::X86 || !views_.other)
            return;
        const RegistryView& view = *views_.other;
        const HiveKey hive{HKEY_LOCAL_MACHINE, kMachineRoot, kMessagingSubsystemKey, view.access,
                           BitnessText(view.bitness)};
        const HRESULT hr = CopyRegistryHive(
            engine_, hive, section_, rowPosition_, kRowsForKey, kNoSubkeys,
            [this](HKEY key) { Facts().messagingSubsystemOtherView = ReadMessagingSubsystem(key); });
        if (SUCCEEDED(hr))
            return;
        if (hr == HResultFromWin32(ERROR_FILE_NOT_FOUND))
            Facts().messagingSubsystemOtherView = MessagingSubsystemFacts{};
        // The key's row and list, with the marker in place of its values, as a dump shows a subkey that
        // cannot be opened.
        const std::wstring name = HiveName(hive);
        const std::wstring marker = xml::ErrorMarker(hr);
        InsertRowAt(engine_, rowPosition_, EventStyle(EventIcon::Cubes, kSummaryIndent), name);
        InsertRowAt(engine_, rowPosition_, EventStyle(EventIcon::Warning, kDetailIndent), marker);
        if (section_)
        {
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::ListRegHive},
                                                {xml::NameAttribute, name.c_str()}};
            ElementSpec spec(xml::DataList, marker.c_str(), attributes, 2);
            engine_.report->AppendElement(&spec, section_);
        }
    }

    // Not shown: whether the values that Outlook's language values name exist for the user, a fact for
    // the findings that the language keys' own step shows in full.
    void LanguageValues()
    {
        const auto& machine = Facts().machineMail;
        if (!machine)
            return;
        for (const MailClientFacts& client : machine->clients)
        {
            if (!SameRegistryName(client.name, kOutlookClient))
                continue;
            CRegKey software;
            if (OpenRegistryKey(HKEY_CURRENT_USER, kUserSoftwareKey, 0, software) == ERROR_SUCCESS)
                Facts().officeLanguageValues = ReadLanguageValues(software.Get(), client);
            return;
        }
    }

    CReportData& engine_;
    IXMLDOMNode* section_;
    int& rowPosition_;
    RegistryViews views_;
    // What the installations told of Outlook's bitness, for OutlookBitness.
    std::optional<Bitness> msiBitness_;
    std::wstring msiBitnessKey_;
    std::wstring newestInstallRoot_;
};

} // namespace

HRESULT CReportData::CheckInventory(IXMLDOMNode* parent)
{
    CProbeStep step(*this, IDS_CHECK_INVENTORY, ProgressKeep);
    CInventory inventory(*this, parent, step.rowPosition);
    inventory.Run();
    step.End(S_OK, IDS_CHECK_INVENTORY);
    return StopRequested() ? S_FALSE : S_OK;
}

} // namespace corvane
