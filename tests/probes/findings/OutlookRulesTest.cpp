// The rules over the Outlook installations found: several versions, end of support, Click-to-Run, and
// the update channel named from its GUID.
#include "probes/findings/ClickToRunChannel.h"
#include "probes/findings/FindingRules.h"
#include "res/resource.h"
#include "tests/probes/findings/FindingTestFacts.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x80070002);

void InstallOutlook2010(FindingFacts& facts)
{
    facts.installedOutlooks->push_back({L"14.0", L"C:\\Program Files\\Microsoft Office\\Office14\\"});
}

void SetOutlookVersion(FindingFacts& facts, const wchar_t* version)
{
    facts.outlookModule.version->fileVersion = version;
}

} // namespace

TEST(SeveralOutlookVersions, FiresWhenMoreThanOneVersionIsInstalled)
{
    ExpectRuleCases(
        CheckSeveralOutlookVersions, L"R14", FindingSeverity::Warning, Microsoft365Machine(),
        {
            {"one Outlook", [](FindingFacts&) {}, std::nullopt},
            {"Outlook 2010 beside Microsoft 365", InstallOutlook2010,
             ExpectedFinding{IDS_FINDING_SEVERAL_OUTLOOKS, {L"16.0, 14.0"}}},
            {"the same version found in both registry views",
             [](FindingFacts& f) {
                 f.installedOutlooks->push_back({L"16.0", L"C:\\Program Files (x86)\\Office16\\"});
             },
             std::nullopt},
            {"no classic Outlook", [](FindingFacts& f) { f.installedOutlooks->clear(); }, std::nullopt},
            {"the installations were not examined", [](FindingFacts& f) { f.installedOutlooks.reset(); },
             std::nullopt},
        });
}

TEST(SeveralOutlookVersions, FactsGiveEachInstallationsFolder)
{
    FindingFacts facts = Microsoft365Machine();
    InstallOutlook2010(facts);
    const std::optional<Finding> finding = CheckSeveralOutlookVersions(facts);
    ASSERT_TRUE(finding);
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"Outlook 16.0", L"C:\\Program Files\\Microsoft Office\\root\\Office16\\"},
        {L"Outlook 14.0", L"C:\\Program Files\\Microsoft Office\\Office14\\"}};
    EXPECT_EQ(expected, finding->facts);
}

TEST(OutlookOutOfSupport, FiresAfterTheEndOfSupportOfTheVersionFound)
{
    ExpectRuleCases(
        CheckOutlookOutOfSupport, L"R15", FindingSeverity::Warning, Outlook2003Machine(),
        {
            {"Outlook 2003 in 2013", [](FindingFacts&) {}, std::nullopt},
            {"on its last day of support",
             [](FindingFacts& f) {
                 f.runDate = CalendarDate{2014, 4, 8};
             },
             std::nullopt},
            {"the day after",
             [](FindingFacts& f) {
                 f.runDate = CalendarDate{2014, 4, 9};
             },
             ExpectedFinding{IDS_FINDING_OUTLOOK_UNSUPPORTED, {L"2003", L"11.0.8217.0", L"2014-04-08"}}},
            {"Outlook 2007",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"12.0.6691.5000");
                 f.runDate = CalendarDate{2017, 10, 11};
             },
             ExpectedFinding{IDS_FINDING_OUTLOOK_UNSUPPORTED, {L"2007", L"12.0.6691.5000", L"2017-10-10"}}},
            {"Outlook 2010",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"14.0.7268.5000");
                 f.runDate = CalendarDate{2021, 1, 1};
             },
             ExpectedFinding{IDS_FINDING_OUTLOOK_UNSUPPORTED, {L"2010", L"14.0.7268.5000", L"2020-10-13"}}},
            {"Outlook 2013",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"15.0.5537.1000");
                 f.runDate = CalendarDate{2023, 5, 1};
             },
             ExpectedFinding{IDS_FINDING_OUTLOOK_UNSUPPORTED, {L"2013", L"15.0.5537.1000", L"2023-04-11"}}},
            {"version 16 without Click-to-Run is Outlook 2016",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"16.0.5435.1000");
                 f.runDate = CalendarDate{2025, 10, 15};
             },
             ExpectedFinding{IDS_FINDING_OUTLOOK_UNSUPPORTED, {L"2016", L"16.0.5435.1000", L"2025-10-14"}}},
            {"version 16 from Click-to-Run may be any later release",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"16.0.18129.20116");
                 f.clickToRun->found = true;
                 f.runDate = CalendarDate{2026, 1, 1};
             },
             std::nullopt},
            {"version 16 where Click-to-Run was not examined",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"16.0.5435.1000");
                 f.clickToRun.reset();
                 f.runDate = CalendarDate{2026, 1, 1};
             },
             std::nullopt},
            {"a version without an end date here",
             [](FindingFacts& f) {
                 SetOutlookVersion(f, L"10.0.6626.0");
                 f.runDate = CalendarDate{2026, 1, 1};
             },
             std::nullopt},
            {"the run's date is not known", [](FindingFacts& f) { f.runDate.reset(); }, std::nullopt},
            {"Outlook's module could not be read",
             [](FindingFacts& f) {
                 f.outlookModule.version = VersionFacts{kFileNotFound, L"", L""};
                 f.runDate = CalendarDate{2026, 1, 1};
             },
             std::nullopt},
        });
}

TEST(ClickToRun, TellsPlatformVersionAndChannelOfAClickToRunOffice)
{
    ExpectRuleCases(
        CheckClickToRun, L"R19", FindingSeverity::Information, Microsoft365Machine(),
        {
            {"Microsoft 365 on the Current Channel", [](FindingFacts&) {},
             ExpectedFinding{IDS_FINDING_CLICK_TO_RUN, {L"x64, 16.0.18129.20116, Current Channel"}}},
            {"a channel whose GUID is not known is given as found",
             [](FindingFacts& f) { f.clickToRun->channel = L"http://officecdn.microsoft.com/pr/0000"; },
             ExpectedFinding{IDS_FINDING_CLICK_TO_RUN,
                             {L"x64, 16.0.18129.20116, http://officecdn.microsoft.com/pr/0000"}}},
            {"only the platform is known",
             [](FindingFacts& f) {
                 f.clickToRun->version.clear();
                 f.clickToRun->channel.clear();
             },
             ExpectedFinding{IDS_FINDING_CLICK_TO_RUN, {L"x64"}}},
            {"nothing is known but the key",
             [](FindingFacts& f) {
                 f.clickToRun = ClickToRunFacts{true, L"", L"", L"", L""};
             },
             ExpectedFinding{IDS_FINDING_CLICK_TO_RUN_BARE, {}}},
            {"no Click-to-Run", [](FindingFacts& f) { f.clickToRun->found = false; }, std::nullopt},
            {"Click-to-Run was not examined", [](FindingFacts& f) { f.clickToRun.reset(); }, std::nullopt},
        });
}

TEST(ClickToRunChannelName, NamesEachChannelOfMicrosoftsTableFromAUrlOrABareGuid)
{
    const struct
    {
        const wchar_t* text;
        const wchar_t* name;
    } cases[] = {
        {L"http://officecdn.microsoft.com/pr/492350f6-3a01-4f97-b9c0-c7c6ddf67d60", L"Current Channel"},
        {L"64256AFE-F5D9-4F86-8936-8840A6A4F5BE", L"Current Channel (Preview)"},
        {L"http://officecdn.microsoft.com/pr/55336b82-a18d-4dd6-b5f6-9e5095c314a6",
         L"Monthly Enterprise Channel"},
        {L"http://officecdn.microsoft.com/pr/7ffbc6bf-bc32-4f92-8982-f9dd17fd3114",
         L"Semi-Annual Enterprise Channel"},
        {L"http://officecdn.microsoft.com/pr/b8f9b850-328d-4355-9145-c59439a0c4cf",
         L"Semi-Annual Enterprise Channel (Preview)"},
        {L"http://officecdn.microsoft.com/pr/5440fd1f-7ecb-4221-8110-145efaa6372f", L"Beta Channel"},
        {L"http://officecdn.microsoft.com/pr/ea4a4090-de26-49d7-93c1-91bff9e53fc3", L""},
        {L"", L""},
    };
    for (const auto& channel : cases)
        EXPECT_EQ(channel.name, ClickToRunChannelName(channel.text)) << ToUtf8(channel.text);
}
