#pragma once
// The facts that the finding rules read: what one run examined of the machine's mail set-up.
//
// Every fact can say "not examined": an empty std::optional is a fact the run did not look at (a step
// that failed, was skipped, or does not exist on this Windows), and a rule never fires on it. A fact
// that was looked at and not found is a value: an examined registry key that is missing has found ==
// false, an examined text that is absent or empty is an empty string. Texts are as read, not expanded
// or trimmed, except where a member says otherwise.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace corvane {

enum class Bitness
{
    X86, // 32-bit
    X64, // 64-bit
};

// Where Outlook's bitness was read, best source first.
enum class BitnessSource
{
    ClickToRunPlatform, // HKLM\SOFTWARE\Microsoft\Office\ClickToRun\Configuration "Platform"
    MsiBitness,         // HKLM\SOFTWARE\Microsoft\Office\<version>\Outlook "Bitness"
    ExecutableMachine,  // the machine field of OUTLOOK.EXE's PE header
};

// "32-bit" or "64-bit", as findings and the inventory name a bitness.
const wchar_t* BitnessText(Bitness bitness);
// Where a bitness was read, as findings and the inventory name it: "Click-to-Run Platform", "Outlook
// Bitness", "OUTLOOK.EXE machine".
const wchar_t* BitnessSourceText(BitnessSource source);

struct CalendarDate
{
    int year = 0;
    int month = 0; // 1-12
    int day = 0;   // 1-31

    auto operator<=>(const CalendarDate&) const = default;
};

// One client key below a Clients\Mail key. Texts are the first string of each value; empty when the
// value is absent.
struct MailClientFacts
{
    std::wstring name; // the subkey's name, which the Clients\Mail default names
    std::wstring dllPath;
    std::wstring dllPathEx;
    std::wstring msiComponentId;
    // The multi-string values split into their strings: the key below Software first, then the names of
    // the values under it. Empty when the value is absent.
    std::vector<std::wstring> msiApplicationLcid;
    std::vector<std::wstring> msiOfficeLcid;
    // Capabilities\URLAssociations "mailto": the ProgId that the client registers for e-mail links;
    // empty when absent.
    std::optional<std::wstring> mailtoProgId;
};

// One Clients\Mail key: HKLM\SOFTWARE\Clients\Mail or HKCU\Software\Clients\Mail.
struct MailClientsKeyFacts
{
    std::wstring defaultClient; // (Default); empty when the key or the value is missing or empty
    std::vector<MailClientFacts> clients;
};

// A module's version resource as read.
struct VersionFacts
{
    HRESULT result = S_OK;    // of reading the resource: 0x80070002 for a missing file, for example
    std::wstring fileVersion; // "11.0.8217.0"; empty when the read failed
    std::wstring companyName;
};

// One FGetComponentPath call with Outlook's MSIComponentID.
struct ComponentPathCall
{
    bool found = false; // the call answered TRUE
    std::wstring path;
};

// A MAPI library's FGetComponentPath, loaded by its full path and called under each language choice.
struct ComponentPathFacts
{
    // Of loading the library and finding the export: S_OK, 0x800700C1 (another bitness), 0x8007007E (the
    // file or a library it imports not found), 0x8007007F (no such export). The calls below were made
    // only when it succeeded.
    HRESULT loadResult = S_OK;
    ComponentPathCall applicationLcid; // qualifier MSIApplicationLCID
    ComponentPathCall officeLcid;      // qualifier MSIOfficeLCID
    ComponentPathCall noQualifier;     // no qualifier
};

// A module file and what was learnt of it; each member examined or not on its own.
struct ModuleFacts
{
    std::wstring path;
    std::optional<bool> exists; // the file itself, by its attributes
    std::optional<VersionFacts> version;
    std::optional<ComponentPathFacts> componentPath;
};

// HKLM\SOFTWARE\Microsoft\Windows Messaging Subsystem in one registry view.
struct MessagingSubsystemFacts
{
    bool found = false;
    std::wstring mapi;  // "MAPI": "1" announces Simple MAPI
    std::wstring mapix; // "MAPIX": "1" announces Extended MAPI
};

// A value that one of Outlook's language values names, looked for under HKCU\Software.
struct LanguageValueFacts
{
    std::wstring key;  // below Software, as the LCID value names it: Microsoft\Office\16.0\Outlook
    std::wstring name; // LastUILanguage
    bool found = false;
};

// HKLM\SOFTWARE\Microsoft\Office\ClickToRun\Configuration, read in the 64-bit view on 64-bit Windows.
struct ClickToRunFacts
{
    bool found = false;
    std::wstring platform;   // "x86" or "x64"
    std::wstring version;    // VersionToReport
    std::wstring productIds; // ProductReleaseIds, as listed there ("O365ProPlusRetail,VisioProRetail")
    std::wstring channel;    // CDNBaseUrl (or UpdateChannel): a URL that ends in the channel's GUID
};

struct OutlookBitnessFacts
{
    Bitness bitness = Bitness::X86;
    BitnessSource source = BitnessSource::ClickToRunPlatform;
};

// A classic Outlook found installed (HKLM\SOFTWARE\Microsoft\Office\<version>\Outlook\InstallRoot).
struct InstalledOutlookFacts
{
    std::wstring version; // the Office version key: "16.0"
    std::wstring path;    // InstallRoot "Path"
};

// The Windows default for e-mail links.
struct MailtoDefaultFacts
{
    std::wstring progId;      // the user's choice (UrlAssociations\mailto\UserChoice); empty when none
    std::wstring openCommand; // HKCR\mailto\shell\open\command (Default), where no user choice exists
};

// The new Outlook for Windows, for this user.
struct NewOutlookFacts
{
    bool present = false; // installed for this user
    bool inUse = false;   // the user's setting says the new Outlook is the one used
};

// MAPI profiles of this user, by name only: a profile's contents are never read.
struct MapiProfilesFacts
{
    std::vector<std::wstring> names;
    std::wstring defaultProfile; // empty when none is set
};

struct FindingFacts
{
    // The run ----------------------------------------------------------------------------------------
    std::optional<Bitness> programBitness; // this program's own bitness (the registry view it reads)
    std::optional<CalendarDate> runDate;   // local date of the run's start
    std::optional<std::wstring> computerName;
    std::optional<std::wstring> userName;

    // Mail clients -----------------------------------------------------------------------------------
    std::optional<MailClientsKeyFacts> machineMail; // HKLM\SOFTWARE\Clients\Mail, this program's view
    std::optional<MailClientsKeyFacts> userMail;    // HKCU\Software\Clients\Mail
    // The values that the Outlook client's MSIApplicationLCID and MSIOfficeLCID name, in their order.
    std::optional<std::vector<LanguageValueFacts>> officeLanguageValues;

    // MAPI -------------------------------------------------------------------------------------------
    std::optional<MessagingSubsystemFacts> messagingSubsystem;          // this program's registry view
    std::optional<MessagingSubsystemFacts> messagingSubsystemOtherView; // the other view, 64-bit Windows only
    ModuleFacts mapiStub;                                               // MAPISTUB.DLL in the System folder
    ModuleFacts mapi32;                                                 // MAPI32.DLL in the System folder
    ModuleFacts outlookMapi;                                            // the Outlook client's DLLPathEx

    // Outlook ----------------------------------------------------------------------------------------
    ModuleFacts outlookModule; // OUTLLIB.DLL, else OUTLOOK.EXE, in the folder that App Paths names
    std::optional<OutlookBitnessFacts> outlookBitness; // empty also when no source told it
    std::optional<std::vector<InstalledOutlookFacts>> installedOutlooks;
    std::optional<ClickToRunFacts> clickToRun;
    std::optional<NewOutlookFacts> newOutlook;
    std::optional<MailtoDefaultFacts> mailtoDefault;
    std::optional<MapiProfilesFacts> mapiProfiles;
};

} // namespace corvane
