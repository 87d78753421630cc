#pragma once
// The report file's vocabulary: every element and attribute name, section id, list, value and structure
// kind, the error markers and the timestamp format. Writers name the report only through these.

#include <windows.h>

#include <string>

namespace corvane::xml {

// Elements
inline constexpr const wchar_t* Report = L"Report";
inline constexpr const wchar_t* ReportHeader = L"ReportHeader";
inline constexpr const wchar_t* ReportData = L"ReportData";
inline constexpr const wchar_t* Title = L"Title";
inline constexpr const wchar_t* Computer = L"Computer";
inline constexpr const wchar_t* User = L"User";
inline constexpr const wchar_t* Program = L"Program";
inline constexpr const wchar_t* Process = L"Process";
inline constexpr const wchar_t* StartedAt = L"StartedAt";
inline constexpr const wchar_t* CompletedAt = L"CompletedAt";
inline constexpr const wchar_t* AbortedAt = L"AbortedAt";
inline constexpr const wchar_t* FailedAt = L"FailedAt";
inline constexpr const wchar_t* CreatedAt = L"CreatedAt";
inline constexpr const wchar_t* ReportSection = L"ReportSection";
inline constexpr const wchar_t* DataList = L"DataList";
inline constexpr const wchar_t* DataItem = L"DataItem";
inline constexpr const wchar_t* DataStruct = L"DataStruct";
inline constexpr const wchar_t* DataMember = L"DataMember";
inline constexpr const wchar_t* Finding = L"Finding";
inline constexpr const wchar_t* Message = L"Message";
inline constexpr const wchar_t* Advice = L"Advice";
inline constexpr const wchar_t* Fact = L"Fact";

// Attributes
inline constexpr const wchar_t* TypeAttribute = L"Type";
inline constexpr const wchar_t* VersionAttribute = L"Version";
inline constexpr const wchar_t* IdAttribute = L"id";
inline constexpr const wchar_t* TitleAttribute = L"Title";
inline constexpr const wchar_t* NameAttribute = L"Name";
inline constexpr const wchar_t* ModulePathAttribute = L"ModulePath";
inline constexpr const wchar_t* ProcedureAttribute = L"Procedure";
inline constexpr const wchar_t* FindingIdAttribute = L"Id";
inline constexpr const wchar_t* SeverityAttribute = L"Severity";

// Fixed values
inline constexpr const wchar_t* ReportType = L"CompatibilityTest";
inline constexpr const wchar_t* ReportVersion = L"2.0";
inline constexpr const wchar_t* ProgramTitle = L"Corvane";
// Which program wrote the report, and how it ran: what it saw of MAPI depends on its bitness.
inline constexpr const wchar_t* Program32Bit = L"32-bit";
inline constexpr const wchar_t* Program32BitUnderWow64 = L"32-bit under WOW64";
inline constexpr const wchar_t* Program64Bit = L"64-bit";
inline constexpr const wchar_t* ReportFileName = L"Corvane.xml";
// The report's readable page, written beside it.
inline constexpr const wchar_t* ReportPageFileName = L"Corvane.html";

// Section ids
inline constexpr const wchar_t* SectionSystemInfo = L"SystemInfo";
inline constexpr const wchar_t* SectionMailClients = L"MailClients";
inline constexpr const wchar_t* SectionMapiConfig = L"MAPIConfig";
inline constexpr const wchar_t* SectionOutlookInfo = L"OutlookInfo";
// The two parts after the four sections.
inline constexpr const wchar_t* SectionInventory = L"Inventory";
inline constexpr const wchar_t* SectionFindings = L"Findings";

// A finding's severity
inline constexpr const wchar_t* SeverityError = L"Error";
inline constexpr const wchar_t* SeverityWarning = L"Warning";
inline constexpr const wchar_t* SeverityInformation = L"Information";

// List kinds
inline constexpr const wchar_t* ListRegHive = L"RegHive";
inline constexpr const wchar_t* ListRegNode = L"RegNode";
inline constexpr const wchar_t* ListTypedMap = L"TypedMap";
inline constexpr const wchar_t* SystemFoldersList = L"sys_folders";
inline constexpr const wchar_t* ClassicOutlookList = L"classic_outlook"; // one Path item per Office version

// Value kinds
inline constexpr const wchar_t* ValuePath = L"Path";
inline constexpr const wchar_t* ValueVersion = L"Version";
inline constexpr const wchar_t* ValueString = L"String";

// Structure kinds and member names
inline constexpr const wchar_t* OsInfoStruct = L"os_info";
inline constexpr const wchar_t* OsName = L"os_name";
inline constexpr const wchar_t* OsPlatform = L"os_platform";
inline constexpr const wchar_t* OsVersion = L"os_version";
inline constexpr const wchar_t* OsProduct = L"os_product";
inline constexpr const wchar_t* OsSuite = L"os_suite";
inline constexpr const wchar_t* OsLangSys = L"os_langsys";
inline constexpr const wchar_t* OsLangUsr = L"os_langusr";
inline constexpr const wchar_t* VersionInfoStruct = L"VersionInfo";
inline constexpr const wchar_t* ProductVersionMember = L"ProductVersion";
inline constexpr const wchar_t* FileVersionMember = L"FileVersion";
inline constexpr const wchar_t* CompanyNameMember = L"CompanyName";
inline constexpr const wchar_t* ProcedureCallStruct = L"ProcedureCall";
inline constexpr const wchar_t* ComponentPathProcedure = L"FGetComponentPath";
inline constexpr const wchar_t* ApplicationLcidMember = L"MSIApplicationLCID";
inline constexpr const wchar_t* OfficeLcidMember = L"MSIOfficeLCID";
inline constexpr const wchar_t* UnspecifiedLcidMember = L"UnspecifiedLCID";

// The inventory's structures (Type "Inventory", Name one of these) and their members
inline constexpr const wchar_t* InventoryStruct = L"Inventory";
inline constexpr const wchar_t* SessionStruct = L"Session";
inline constexpr const wchar_t* ClickToRunStruct = L"ClickToRun";
inline constexpr const wchar_t* OutlookBitnessStruct = L"OutlookBitness";
inline constexpr const wchar_t* UserMailClientStruct = L"UserMailClient";
inline constexpr const wchar_t* MailtoDefaultStruct = L"MailtoDefault";
inline constexpr const wchar_t* NewOutlookStruct = L"NewOutlook";
inline constexpr const wchar_t* MapiProfilesStruct = L"MapiProfiles";
inline constexpr const wchar_t* ComputerNameMember = L"ComputerName";
inline constexpr const wchar_t* UserNameMember = L"UserName";
inline constexpr const wchar_t* RegistryKeyMember = L"RegistryKey";
inline constexpr const wchar_t* RegistryViewMember = L"RegistryView"; // only where not the program's own
inline constexpr const wchar_t* InstalledMember = L"Installed";
inline constexpr const wchar_t* PlatformMember = L"Platform";
inline constexpr const wchar_t* VersionToReportMember = L"VersionToReport";
inline constexpr const wchar_t* ProductReleaseIdsMember = L"ProductReleaseIds";
inline constexpr const wchar_t* CdnBaseUrlMember = L"CDNBaseUrl";
inline constexpr const wchar_t* UpdateChannelMember = L"UpdateChannel";
inline constexpr const wchar_t* BitnessMember = L"Bitness";
inline constexpr const wchar_t* SourceMember = L"Source";
inline constexpr const wchar_t* LocationMember = L"Location";
inline constexpr const wchar_t* DefaultMember = L"Default";
inline constexpr const wchar_t* UserChoiceMember = L"UserChoice";
inline constexpr const wchar_t* OpenCommandMember = L"OpenCommand";
inline constexpr const wchar_t* InUseMember = L"InUse";
inline constexpr const wchar_t* PackageMember = L"Package";
inline constexpr const wchar_t* CountMember = L"Count";
inline constexpr const wchar_t* ProfileMember = L"Profile";
// The texts of a yes-or-no member
inline constexpr const wchar_t* Yes = L"yes";
inline constexpr const wchar_t* No = L"no";

// System folder items
inline constexpr const wchar_t* WindowsFolderItem = L"WindowsFolder";
inline constexpr const wchar_t* SystemFolderItem = L"SystemFolder";
inline constexpr const wchar_t* ProgramFilesFolderItem = L"ProgramFilesFolder";
inline constexpr const wchar_t* CommonFilesFolderItem = L"CommonFilesFolder";

// Registry type name of a value type; every type outside the table is "REG_NONE".
const wchar_t* RegistryTypeName(DWORD type);
// REG_MUI_SZ, which this compiler's Windows headers do not define.
inline constexpr DWORD RegMuiSz = 21;

// "##ERROR:0x%8.8X##": a module version structure whose resource cannot be read.
std::wstring ErrorMarker(HRESULT code);
// "##ERROR:0x%8.8X##\n": a procedure call structure or member whose call failed.
std::wstring ErrorMarkerLine(HRESULT code);

// "%Y-%m-%d %H:%M:%S" in local time; empty when the time cannot be converted or formatted.
inline constexpr const wchar_t* TimestampFormat = L"%Y-%m-%d %H:%M:%S";
std::wstring FormatTimestamp(long long secondsSince1970);

// Outcome element of a run result: 0 completed, 1 aborted, anything else failed.
const wchar_t* OutcomeElement(int runResult);

} // namespace corvane::xml
