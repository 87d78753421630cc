// The system folders probe in the test prefix, whose folders are Wine's standard ones, with verbose
// and report on and off, and with a report but no parent.
#include "engine/ReportData.h"
#include "tests/probes/system/SystemProbeTesting.h"

#include <gtest/gtest.h>

using namespace corvane;
using test::EventRow;

namespace {

class CheckSystemFoldersTest : public testing::TestWithParam<test::ProbeOptions>
{
protected:
    void SetUp() override
    {
        engine.AttachSink(&sink);
        engine.UpdateProgress(ProgressReset, 10, nullptr);
        engine.InsertEvent(-1, EventStyle(EventIcon::Monitor, 1), L"OS: earlier probe");
        engine.facts.windowsFolder = L"stale";
    }

    void ExpectRowsAndMembers(bool verbose) const
    {
        std::vector<EventRow> rows = {{L"OS: earlier probe", 7, 1}, {L"System Folders", 7, 1}};
        if (verbose)
        {
            rows.insert(rows.end(), {{L"Windows Folder: C:\\windows", 8, 2},
                                     {L"System Folder: C:\\windows\\system32", 8, 2},
                                     {L"Program Files: C:\\Program Files", 8, 2},
                                     {L"Common Files: C:\\Program Files\\Common Files", 8, 2}});
        }
        EXPECT_EQ(test::DescribeRows(rows), test::DescribeRows(sink.Rows()));
        EXPECT_EQ(L"Test process is running...", sink.StatusText());
        EXPECT_EQ(1, sink.ProgressPosition());
        EXPECT_EQ(L"C:\\windows", engine.facts.windowsFolder);
        EXPECT_EQ(L"C:\\windows\\system32", engine.facts.systemFolder);
        EXPECT_EQ(L"C:\\Program Files", engine.facts.programFilesFolder);
        EXPECT_EQ(L"C:\\Program Files\\Common Files", engine.facts.commonFilesFolder);
    }

    test::CRecordingSink sink;
    CReportData engine;
};

} // namespace

TEST_P(CheckSystemFoldersTest, RowsMembersAndList)
{
    engine.verbose = GetParam().verbose ? TRUE : FALSE;
    std::unique_ptr<test::CScratchReport> report;
    if (GetParam().report)
    {
        report = std::make_unique<test::CScratchReport>(engine);
        ASSERT_EQ(S_OK, report->OpenResult()) << "OpenReport";
    }
    EXPECT_EQ(S_OK, engine.CheckSystemFolders(report ? report->Section() : nullptr));
    ExpectRowsAndMembers(GetParam().verbose);
    if (report)
    {
        EXPECT_EQ(test::ReportWithSection(
                      "<DataList Type=\"TypedMap\" Name=\"sys_folders\">\n"
                      "<DataItem Type=\"Path\" Name=\"WindowsFolder\">C:\\windows</DataItem>\n"
                      "<DataItem Type=\"Path\" Name=\"SystemFolder\">C:\\windows\\system32</DataItem>\n"
                      "<DataItem Type=\"Path\" Name=\"ProgramFilesFolder\">C:\\Program Files</DataItem>\n"
                      "<DataItem Type=\"Path\" Name=\"CommonFilesFolder\">C:\\Program Files\\Common "
                      "Files</DataItem>\n"
                      "</DataList>"),
                  report->SaveAndClose());
    }
}

INSTANTIATE_TEST_SUITE_P(Options, CheckSystemFoldersTest, testing::ValuesIn(test::kAllProbeOptions),
                         test::ProbeOptionsName);

TEST_F(CheckSystemFoldersTest, WithoutParentTheAppendFailureIsTheResultAfterTheSummaryRow)
{
    test::CScratchReport report(engine);
    ASSERT_EQ(S_OK, report.OpenResult()) << "OpenReport";
    EXPECT_EQ(E_POINTER, engine.CheckSystemFolders(nullptr));
    ExpectRowsAndMembers(true);
    EXPECT_EQ(test::ReportWithSection(""), report.SaveAndClose());
}
