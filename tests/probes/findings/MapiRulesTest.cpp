// The rules over the MAPI libraries (the System folder's stub and Outlook's own), their FGetComponentPath
// answers, the Windows Messaging Subsystem key and Outlook's language values.
#include "probes/findings/FindingRules.h"
#include "res/resource.h"
#include "tests/probes/findings/FindingTestFacts.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x80070002);
constexpr HRESULT kPathNotFound = static_cast<HRESULT>(0x80070003);
constexpr HRESULT kModuleNotFound = static_cast<HRESULT>(0x8007007E);
constexpr HRESULT kProcedureNotFound = static_cast<HRESULT>(0x8007007F);
constexpr HRESULT kBadExeFormat = static_cast<HRESULT>(0x800700C1);
constexpr HRESULT kNoVersionResource = static_cast<HRESULT>(0x80070714);

const std::wstring kM365Library =
    L"C:\\Program Files\\Microsoft "
    L"Office\\root\\VFS\\ProgramFilesCommonX64\\System\\MSMAPI\\1033\\MSMAPI32.DLL";

void RefuseOutlookMapi(FindingFacts& facts, HRESULT result)
{
    facts.outlookMapi.componentPath = ComponentPathFacts{};
    facts.outlookMapi.componentPath->loadResult = result;
}

// What a run records for a module that is not there.
void RemoveOutlookMapi(FindingFacts& facts)
{
    facts.outlookMapi.exists = false;
    facts.outlookMapi.version = VersionFacts{kFileNotFound, L"", L""};
    RefuseOutlookMapi(facts, kModuleNotFound);
}

void AnswerNothing(std::optional<ComponentPathFacts>& paths)
{
    paths = ComponentPathFacts{};
}

void SetComponentId(FindingFacts& facts, const wchar_t* componentId)
{
    MachineClient(facts, L"Microsoft Outlook").msiComponentId = componentId;
}

} // namespace

TEST(BitnessMismatch, FiresWhenOutlooksMapiIsOfTheOtherBitness)
{
    ExpectRuleCases(CheckBitnessMismatch, L"R1", FindingSeverity::Error, Microsoft365Machine(),
                    {
                        {"Corvane64.exe on 64-bit Outlook", [](FindingFacts&) {}, std::nullopt},
                        {"Corvane.exe on 64-bit Outlook: DLLPathEx refused for its format",
                         [](FindingFacts& f) {
                             f.programBitness = Bitness::X86;
                             RefuseOutlookMapi(f, kBadExeFormat);
                         },
                         ExpectedFinding{IDS_FINDING_BITNESS_MISMATCH, {L"64-bit", L"32-bit"}}},
                        {"the inventory's bitness alone, before any MAPI was loaded",
                         [](FindingFacts& f) {
                             f.outlookBitness = OutlookBitnessFacts{Bitness::X86, BitnessSource::MsiBitness};
                             f.outlookMapi.componentPath.reset();
                         },
                         ExpectedFinding{IDS_FINDING_BITNESS_MISMATCH, {L"32-bit", L"64-bit"}}},
                        {"a load refused for its format outweighs an inventory that agrees with the program",
                         [](FindingFacts& f) { RefuseOutlookMapi(f, kBadExeFormat); },
                         ExpectedFinding{IDS_FINDING_BITNESS_MISMATCH, {L"32-bit", L"64-bit"}}},
                        {"another load failure says nothing of bitness",
                         [](FindingFacts& f) { RefuseOutlookMapi(f, kModuleNotFound); }, std::nullopt},
                        {"the program's bitness is not known",
                         [](FindingFacts& f) {
                             f.programBitness.reset();
                             RefuseOutlookMapi(f, kBadExeFormat);
                         },
                         std::nullopt},
                        {"nothing of Outlook's bitness was examined",
                         [](FindingFacts& f) {
                             f.outlookBitness.reset();
                             f.outlookMapi.componentPath.reset();
                         },
                         std::nullopt},
                    });
}

TEST(BitnessMismatch, AdviceNamesTheProgramOfOutlooksBitnessAndFactsTheRefusedLoad)
{
    FindingFacts facts = Microsoft365Machine();
    facts.programBitness = Bitness::X86;
    RefuseOutlookMapi(facts, kBadExeFormat);
    const std::optional<Finding> finding = CheckBitnessMismatch(facts);
    ASSERT_TRUE(finding);
    EXPECT_EQ((std::vector<std::wstring>{L"64-bit", L"Corvane64.exe"}), finding->adviceArguments);
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"Program", L"32-bit"},
        {L"DLLPathEx", kM365Library},
        {L"FGetComponentPath (DLLPathEx)", L"0x800700C1"},
        {L"Click-to-Run Platform", L"64-bit"}};
    EXPECT_EQ(expected, finding->facts);

    facts = Microsoft365Machine();
    facts.outlookBitness = OutlookBitnessFacts{Bitness::X86, BitnessSource::ExecutableMachine};
    const std::optional<Finding> other = CheckBitnessMismatch(facts);
    ASSERT_TRUE(other);
    EXPECT_EQ((std::vector<std::wstring>{L"32-bit", L"Corvane.exe"}), other->adviceArguments);
}

TEST(OutlookMapiLibraryMissing, FiresWhenDllPathExNamesNoFile)
{
    ExpectRuleCases(CheckOutlookMapiLibraryMissing, L"R4", FindingSeverity::Error, Microsoft365Machine(),
                    {
                        {"the library is there", [](FindingFacts&) {}, std::nullopt},
                        {"the file is gone", RemoveOutlookMapi,
                         ExpectedFinding{IDS_FINDING_OUTLOOK_MAPI_MISSING, {kM365Library}}},
                        {"only the version read tells that its folder is gone",
                         [](FindingFacts& f) {
                             f.outlookMapi.exists.reset();
                             f.outlookMapi.version = VersionFacts{kPathNotFound, L"", L""};
                         },
                         ExpectedFinding{IDS_FINDING_OUTLOOK_MAPI_MISSING, {kM365Library}}},
                        {"a file without a version resource is still a file",
                         [](FindingFacts& f) {
                             f.outlookMapi.exists.reset();
                             f.outlookMapi.version = VersionFacts{kNoVersionResource, L"", L""};
                         },
                         std::nullopt},
                        {"neither the file nor its version was examined",
                         [](FindingFacts& f) {
                             f.outlookMapi.exists.reset();
                             f.outlookMapi.version.reset();
                         },
                         std::nullopt},
                        {"a DLLPathEx that is no full path names no one file",
                         [](FindingFacts& f) {
                             MachineClient(f, L"Microsoft Outlook").dllPathEx = L"MSMAPI32.DLL";
                             RemoveOutlookMapi(f);
                         },
                         std::nullopt},
                        {"no DLLPathEx is registered",
                         [](FindingFacts& f) {
                             MachineClient(f, L"Microsoft Outlook").dllPathEx.clear();
                             RemoveOutlookMapi(f);
                         },
                         std::nullopt},
                    });
}

TEST(OutlookMapiDependencyMissing, FiresWhenAnExistingLibraryCannotFindWhatItImports)
{
    ExpectRuleCases(CheckOutlookMapiDependencyMissing, L"R5", FindingSeverity::Error, Microsoft365Machine(),
                    {
                        {"the library loads", [](FindingFacts&) {}, std::nullopt},
                        {"the file is there and its load fails with 0x8007007E",
                         [](FindingFacts& f) { RefuseOutlookMapi(f, kModuleNotFound); },
                         ExpectedFinding{IDS_FINDING_OUTLOOK_MAPI_DEPENDENCY, {kM365Library}}},
                        {"the file's presence told by its version alone",
                         [](FindingFacts& f) {
                             f.outlookMapi.exists.reset();
                             RefuseOutlookMapi(f, kModuleNotFound);
                         },
                         ExpectedFinding{IDS_FINDING_OUTLOOK_MAPI_DEPENDENCY, {kM365Library}}},
                        {"the file itself is missing (R4's case)", RemoveOutlookMapi, std::nullopt},
                        {"whether the file is there was not examined",
                         [](FindingFacts& f) {
                             f.outlookMapi.exists.reset();
                             f.outlookMapi.version.reset();
                             RefuseOutlookMapi(f, kModuleNotFound);
                         },
                         std::nullopt},
                        {"a library of the other bitness (R1's case)",
                         [](FindingFacts& f) { RefuseOutlookMapi(f, kBadExeFormat); }, std::nullopt},
                    });
}

TEST(OutlookComponentIdWrong, FiresForOutlook2013WithAnotherComponentId)
{
    ExpectRuleCases(
        CheckOutlookComponentIdWrong, L"R6", FindingSeverity::Error, Outlook2013Machine(),
        {
            {"Outlook 2013 with the documented id", [](FindingFacts&) {}, std::nullopt},
            {"the documented id in lower case",
             [](FindingFacts& f) { SetComponentId(f, L"{6db1921f-8b40-4406-a18b-e906dbeef0c9}"); },
             std::nullopt},
            {"Outlook 2013 with another id",
             [](FindingFacts& f) { SetComponentId(f, L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}"); },
             ExpectedFinding{IDS_FINDING_OUTLOOK_COMPONENT_ID, {L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}"}}},
            {"Outlook 2016's id is not documented: no verdict on version 16",
             [](FindingFacts& f) {
                 SetComponentId(f, L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}");
                 f.outlookModule.version->fileVersion = L"16.0.18129.20116";
             },
             std::nullopt},
            {"a registration whose language value names Office 16.0 belongs to another Outlook",
             [](FindingFacts& f) {
                 SetComponentId(f, L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}");
                 MachineClient(f, L"Microsoft Outlook").msiApplicationLcid = {
                     L"Microsoft\\Office\\16.0\\Outlook", L"LastUILanguage"};
             },
             std::nullopt},
            {"Outlook's module version was not read",
             [](FindingFacts& f) {
                 SetComponentId(f, L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}");
                 f.outlookModule.version = VersionFacts{kFileNotFound, L"", L""};
             },
             std::nullopt},
            {"no MSIComponentID: the stub uses DLLPathEx", [](FindingFacts& f) { SetComponentId(f, L""); },
             std::nullopt},
        });
}

TEST(OutlookComponentUnresolved, FiresWhenNoLoadedLibraryResolvesOutlooksComponent)
{
    ExpectRuleCases(
        CheckOutlookComponentUnresolved, L"R7", FindingSeverity::Error, Microsoft365Machine(),
        {
            {"both libraries resolve it", [](FindingFacts&) {}, std::nullopt},
            {"every call of both libraries answered FALSE",
             [](FindingFacts& f) {
                 AnswerNothing(f.mapiStub.componentPath);
                 AnswerNothing(f.mapi32.componentPath);
             },
             ExpectedFinding{IDS_FINDING_COMPONENT_UNRESOLVED, {L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}"}}},
            {"one call without a language qualifier found it",
             [](FindingFacts& f) {
                 AnswerNothing(f.mapiStub.componentPath);
                 AnswerNothing(f.mapi32.componentPath);
                 f.mapi32.componentPath->noQualifier = {true, L"C:\\MSMAPI32.DLL"};
             },
             std::nullopt},
            {"the stub answered FALSE and MAPI32.DLL has no such export",
             [](FindingFacts& f) {
                 AnswerNothing(f.mapiStub.componentPath);
                 f.mapi32.componentPath->loadResult = kProcedureNotFound;
             },
             ExpectedFinding{IDS_FINDING_COMPONENT_UNRESOLVED, {L"{5812C571-53F0-4467-BEFA-0A4F47A9437C}"}}},
            {"neither library loaded",
             [](FindingFacts& f) {
                 f.mapiStub.componentPath->loadResult = kModuleNotFound;
                 f.mapi32.componentPath->loadResult = kModuleNotFound;
             },
             std::nullopt},
            {"the calls were not made",
             [](FindingFacts& f) {
                 f.mapiStub.componentPath.reset();
                 f.mapi32.componentPath.reset();
             },
             std::nullopt},
            {"no MSIComponentID to resolve",
             [](FindingFacts& f) {
                 SetComponentId(f, L"");
                 AnswerNothing(f.mapiStub.componentPath);
                 AnswerNothing(f.mapi32.componentPath);
             },
             std::nullopt},
        });
}

TEST(SystemMapi32Replaced, FiresWhenMapi32LacksTheStubsExport)
{
    ExpectRuleCases(
        CheckSystemMapi32Replaced, L"R8", FindingSeverity::Error, Microsoft365Machine(),
        {
            {"both are the stub", [](FindingFacts&) {}, std::nullopt},
            {"MAPI32.DLL has no FGetComponentPath, MAPISTUB.DLL has",
             [](FindingFacts& f) { f.mapi32.componentPath->loadResult = kProcedureNotFound; },
             ExpectedFinding{IDS_FINDING_MAPI32_REPLACED, {}}},
            {"neither has it: nothing to compare with",
             [](FindingFacts& f) {
                 f.mapi32.componentPath->loadResult = kProcedureNotFound;
                 f.mapiStub.componentPath->loadResult = kProcedureNotFound;
             },
             std::nullopt},
            {"the stub was not examined",
             [](FindingFacts& f) {
                 f.mapi32.componentPath->loadResult = kProcedureNotFound;
                 f.mapiStub.componentPath.reset();
             },
             std::nullopt},
            {"MAPI32.DLL is missing, not replaced",
             [](FindingFacts& f) { f.mapi32.componentPath->loadResult = kModuleNotFound; }, std::nullopt},
        });
}

TEST(SystemMapi32Replaced, FactsNameTheForeignLibrarysVendor)
{
    FindingFacts facts = Microsoft365Machine();
    facts.mapi32.version = VersionFacts{S_OK, L"8.5.3.0", L"IBM Corporation"};
    facts.mapi32.componentPath->loadResult = kProcedureNotFound;
    const std::optional<Finding> finding = CheckSystemMapi32Replaced(facts);
    ASSERT_TRUE(finding);
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"MAPI32.DLL", L"C:\\Windows\\system32\\MAPI32.DLL"},
        {L"MAPI32.DLL exists", L"yes"},
        {L"MAPI32.DLL FileVersion", L"8.5.3.0"},
        {L"MAPI32.DLL CompanyName", L"IBM Corporation"},
        {L"FGetComponentPath (MAPI32.DLL)", L"0x8007007F"},
        {L"FGetComponentPath (MAPISTUB.DLL)", kM365Library + L", " + kM365Library + L", " + kM365Library}};
    EXPECT_EQ(expected, finding->facts);
}

TEST(MapiStubMissing, FiresWhenTheStubsFileIsNotThere)
{
    ExpectRuleCases(
        CheckMapiStubMissing, L"R9", FindingSeverity::Warning, Microsoft365Machine(),
        {
            {"the stub is there", [](FindingFacts&) {}, std::nullopt},
            {"the file is gone", [](FindingFacts& f) { f.mapiStub.exists = false; },
             ExpectedFinding{IDS_FINDING_MAPISTUB_MISSING, {L"C:\\Windows\\system32\\MAPISTUB.DLL"}}},
            {"only the version read tells",
             [](FindingFacts& f) {
                 f.mapiStub.exists.reset();
                 f.mapiStub.version = VersionFacts{kFileNotFound, L"", L""};
             },
             ExpectedFinding{IDS_FINDING_MAPISTUB_MISSING, {L"C:\\Windows\\system32\\MAPISTUB.DLL"}}},
            {"a stub without a version resource, as in an untouched Wine prefix",
             [](FindingFacts& f) {
                 f.mapiStub.exists.reset();
                 f.mapiStub.version = VersionFacts{kNoVersionResource, L"", L""};
             },
             std::nullopt},
            {"the stub was not examined", [](FindingFacts& f) { f.mapiStub = ModuleFacts{}; }, std::nullopt},
        });
}

TEST(MessagingSubsystemFlags, FiresForEachRegistryViewThatLacksAFlag)
{
    ExpectRuleCases(
        CheckMessagingSubsystemFlags, L"R16", FindingSeverity::Warning, Microsoft365Machine(),
        {
            {"both views announce MAPI and Extended MAPI", [](FindingFacts&) {}, std::nullopt},
            {"this program's view says MAPI=0", [](FindingFacts& f) { f.messagingSubsystem->mapi = L"0"; },
             ExpectedFinding{IDS_FINDING_SUBSYSTEM_FLAGS, {L"64-bit", L"MAPI=1"}}},
            {"a flag with a blank is not the text 1",
             [](FindingFacts& f) { f.messagingSubsystem->mapi = L"1 "; },
             ExpectedFinding{IDS_FINDING_SUBSYSTEM_FLAGS, {L"64-bit", L"MAPI=1"}}},
            {"the other view has no key",
             [](FindingFacts& f) { f.messagingSubsystemOtherView = MessagingSubsystemFacts{}; },
             ExpectedFinding{IDS_FINDING_SUBSYSTEM_FLAGS, {L"32-bit", L"MAPI=1, MAPIX=1"}}},
            {"both views lack MAPIX",
             [](FindingFacts& f) {
                 f.messagingSubsystem->mapix.clear();
                 f.messagingSubsystemOtherView->mapix.clear();
             },
             ExpectedFinding{IDS_FINDING_SUBSYSTEM_FLAGS_BOTH,
                             {L"64-bit", L"MAPIX=1", L"32-bit", L"MAPIX=1"}}},
            {"no MAPIX while the default client offers Simple MAPI only",
             [](FindingFacts& f) {
                 MailClientFacts& outlook = MachineClient(f, L"Microsoft Outlook");
                 outlook.dllPathEx.clear();
                 outlook.msiComponentId.clear();
                 f.messagingSubsystem->mapix.clear();
             },
             std::nullopt},
            {"32-bit Windows: one view, this program's",
             [](FindingFacts& f) {
                 f.programBitness = Bitness::X86;
                 f.messagingSubsystemOtherView.reset();
                 f.messagingSubsystem->mapi.clear();
             },
             ExpectedFinding{IDS_FINDING_SUBSYSTEM_FLAGS, {L"32-bit", L"MAPI=1"}}},
            {"the key was not examined in either view",
             [](FindingFacts& f) {
                 f.messagingSubsystem.reset();
                 f.messagingSubsystemOtherView.reset();
             },
             std::nullopt},
            {"without this program's bitness the views have no names",
             [](FindingFacts& f) {
                 f.programBitness.reset();
                 f.messagingSubsystem->mapi.clear();
             },
             std::nullopt},
        });
}

TEST(OfficeLanguageValuesMissing, FiresWhenNoLanguageValueIsThereForMapiToUse)
{
    ExpectRuleCases(
        CheckOfficeLanguageValuesMissing, L"R17", FindingSeverity::Information, Microsoft365Machine(),
        {
            {"every value is there", [](FindingFacts&) {}, std::nullopt},
            {"none of the values is there",
             [](FindingFacts& f) {
                 for (LanguageValueFacts& value : *f.officeLanguageValues)
                     value.found = false;
             },
             ExpectedFinding{IDS_FINDING_LANGUAGE_VALUES,
                             {L"Microsoft\\Office\\16.0\\Outlook\\LastUILanguage, "
                              L"Microsoft\\Office\\16.0\\Common\\LanguageResources\\UILanguage, "
                              L"Microsoft\\Office\\16.0\\Common\\LanguageResources\\InstallLanguage"}}},
            {"one value is enough for MAPI's lookup",
             [](FindingFacts& f) {
                 (*f.officeLanguageValues)[0].found = false;
                 (*f.officeLanguageValues)[1].found = false;
             },
             std::nullopt},
            {"the values were not examined", [](FindingFacts& f) { f.officeLanguageValues.reset(); },
             std::nullopt},
            {"Outlook's registration names no language values",
             [](FindingFacts& f) {
                 MailClientFacts& outlook = MachineClient(f, L"Microsoft Outlook");
                 outlook.msiApplicationLcid.clear();
                 outlook.msiOfficeLcid.clear();
                 f.officeLanguageValues.reset();
             },
             ExpectedFinding{IDS_FINDING_NO_LANGUAGE_LCIDS, {}}},
            {"one language value named, its values not examined",
             [](FindingFacts& f) {
                 MachineClient(f, L"Microsoft Outlook").msiApplicationLcid.clear();
                 f.officeLanguageValues.reset();
             },
             std::nullopt},
            {"no Outlook client key", [](FindingFacts& f) { f.machineMail->clients.clear(); }, std::nullopt},
        });
}
