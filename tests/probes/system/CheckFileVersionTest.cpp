// The file version step as a caller uses it: rows stacked above the caller's placeholder at a moving
// position, the "VersionInfo" structure, and the failure row and marker of an unreadable module.
#include "engine/ReportData.h"
#include "tests/probes/system/SystemProbeTesting.h"

#include <gtest/gtest.h>

using namespace corvane;
using test::EventRow;
using test::SystemFixturePath;

namespace {

class CheckFileVersionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        engine.AttachSink(&sink);
        engine.InsertEvent(-1, EventStyle(EventIcon::PageCheck, 0), L"MAPI Configuration");
        rowPosition =
            engine.InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), L"Checking MAPI configuration...");
        ASSERT_EQ(1, rowPosition);
    }

    // The step's rows between the section title above and the caller's placeholder below.
    void ExpectRows(const std::vector<EventRow>& stepRows) const
    {
        std::vector<EventRow> rows = {{L"MAPI Configuration", 6, 0}};
        rows.insert(rows.end(), stepRows.begin(), stepRows.end());
        rows.push_back({L"Checking MAPI configuration...", 3, 1});
        EXPECT_EQ(test::DescribeRows(rows), test::DescribeRows(sink.Rows()));
        EXPECT_EQ(1 + static_cast<int>(stepRows.size()), rowPosition);
    }

    // A module that cannot be read: one failure row, and the structure holds only the marker.
    void ExpectFailure(const std::wstring& path, HRESULT result, const std::string& code)
    {
        test::CScratchReport report(engine);
        ASSERT_EQ(S_OK, report.OpenResult()) << "OpenReport";
        EXPECT_EQ(result, engine.CheckFileVersion(path.c_str(), report.Section(), rowPosition, 1));
        ExpectRows(
            {{L"Failed to query file version. (" + std::wstring(code.begin(), code.end()) + L")", 1, 1}});
        EXPECT_EQ(test::ReportWithSection("<DataStruct Type=\"VersionInfo\" ModulePath=\"" +
                                          test::ToUtf8(path) + "\">##ERROR:" + code + "##</DataStruct>\n"),
                  report.SaveAndClose());
    }

    test::CRecordingSink sink;
    CReportData engine;
    int rowPosition = -1;
    const std::wstring english = SystemFixturePath(L"versioned_en.dll");
    const std::vector<EventRow> englishRows = {{L"Version Info: " + english, 5, 1},
                                               {L"Product Version: 11.0.5510.0", 4, 2},
                                               {L"File Version: 11.0.8217.0", 4, 2},
                                               {L"Vendor: Corvane Fixtures & Partners", 4, 2}};
    const std::string englishStructure =
        "<DataStruct Type=\"VersionInfo\" ModulePath=\"" + test::ToUtf8(english) +
        "\">\n"
        "<DataMember Type=\"Version\" Name=\"ProductVersion\">11.0.5510.0</DataMember>\n"
        "<DataMember Type=\"Version\" Name=\"FileVersion\">11.0.8217.0</DataMember>\n"
        "<DataMember Type=\"String\" Name=\"CompanyName\">Corvane Fixtures &amp; Partners</DataMember>\n"
        "</DataStruct>";
};

} // namespace

TEST_F(CheckFileVersionTest, VerboseInsertsFourRowsAboveThePlaceholder)
{
    test::CScratchReport report(engine);
    ASSERT_EQ(S_OK, report.OpenResult()) << "OpenReport";
    EXPECT_EQ(S_OK, engine.CheckFileVersion(english.c_str(), report.Section(), rowPosition, 1));
    ExpectRows(englishRows);
    EXPECT_EQ(test::ReportWithSection(englishStructure), report.SaveAndClose());
}

TEST_F(CheckFileVersionTest, QuietInsertsOneRowAndStillWritesTheMembers)
{
    engine.verbose = FALSE;
    test::CScratchReport report(engine);
    ASSERT_EQ(S_OK, report.OpenResult()) << "OpenReport";
    EXPECT_EQ(S_OK, engine.CheckFileVersion(english.c_str(), report.Section(), rowPosition, 1));
    ExpectRows({englishRows[0]});
    EXPECT_EQ(test::ReportWithSection(englishStructure), report.SaveAndClose());
}

TEST_F(CheckFileVersionTest, LevelIsTheMainIndentAndDetailsGoOneDeeper)
{
    const std::wstring german = SystemFixturePath(L"versioned_de.dll");
    EXPECT_EQ(S_OK, engine.CheckFileVersion(german.c_str(), nullptr, rowPosition, 2));
    ExpectRows({{L"Version Info: " + german, 5, 2},
                {L"Product Version: 2.5.0.0", 4, 3},
                {L"File Version: 2.5.0.1", 4, 3},
                {L"Vendor: Pr\u00fcfmodul GmbH", 4, 3}});
}

TEST_F(CheckFileVersionTest, WithReportButNoParentTheRowsStillComeAndTheResultIsSuccess)
{
    test::CScratchReport report(engine);
    ASSERT_EQ(S_OK, report.OpenResult()) << "OpenReport";
    EXPECT_EQ(S_OK, engine.CheckFileVersion(english.c_str(), nullptr, rowPosition, 1));
    ExpectRows(englishRows);
    EXPECT_EQ(test::ReportWithSection(""), report.SaveAndClose());
}

TEST_F(CheckFileVersionTest, MissingFileFailsAtTheShortPathStepWithThePathAsPassed)
{
    ExpectFailure(SystemFixturePath(L"..\\system\\No Such Module.DLL"), static_cast<HRESULT>(0x80070002),
                  "0x80070002");
}

TEST_F(CheckFileVersionTest, ModuleWithoutVersionResourceFailsWithTheMissingResourceCode)
{
    ExpectFailure(SystemFixturePath(L"unversioned.dll"), static_cast<HRESULT>(0x80070714), "0x80070714");
}

TEST_F(CheckFileVersionTest, AStepFailingWithoutLastErrorIsAFailureNotAnEmptySuccess)
{
    test::CDeepModuleCopy deep(english);
    ASSERT_TRUE(deep.IsValid());
    ExpectFailure(deep.Path(), E_FAIL, "0x80004005");
}
