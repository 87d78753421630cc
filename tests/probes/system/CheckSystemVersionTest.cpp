// The operating system probe on the running system, with verbose and report on and off, and with a
// report but no parent. The expected texts come from the record QueryOsInfo gives here (its rules are
// tested on their own, the real values under several Windows versions by OsInfoRealPathTest); what is
// checked is the probe's own output.
#include "engine/ReportData.h"
#include "probes/system/QueryOsInfo.h"
#include "tests/probes/system/SystemProbeTesting.h"

#include <gtest/gtest.h>

using namespace corvane;
using test::EventRow;

namespace {

class CheckSystemVersionTest : public testing::TestWithParam<test::ProbeOptions>
{
protected:
    void SetUp() override
    {
        engine.AttachSink(&sink);
        engine.UpdateProgress(ProgressReset, 10, nullptr);
        engine.InsertEvent(-1, EventStyle(EventIcon::PageCheck, 0), L"System Information");
        OsInfo info{};
        info.size = sizeof(info);
        ASSERT_EQ(S_OK, QueryOsInfo(&info)) << "QueryOsInfo";
        expected = {info.name, info.platform,
                    std::to_wstring(info.major_version) + L"." + std::to_wstring(info.minor_version) + L"." +
                        std::to_wstring(info.build_number) + L" " + info.service_pack,
                    info.product_type, info.suites};
    }

    void ExpectRows(bool verbose) const
    {
        std::vector<EventRow> rows = test::ExpectedOsRows(expected, verbose);
        rows.insert(rows.begin(), {L"System Information", 6, 0});
        EXPECT_EQ(test::DescribeRows(rows), test::DescribeRows(sink.Rows()));
        EXPECT_EQ(L"Test process is running...", sink.StatusText());
        EXPECT_EQ(1, sink.ProgressPosition());
    }

    test::CRecordingSink sink;
    CReportData engine;
    test::ExpectedOs expected;
};

} // namespace

TEST_P(CheckSystemVersionTest, RowsAndStructure)
{
    engine.verbose = GetParam().verbose ? TRUE : FALSE;
    std::unique_ptr<test::CScratchReport> report;
    if (GetParam().report)
    {
        report = std::make_unique<test::CScratchReport>(engine);
        ASSERT_EQ(S_OK, report->OpenResult()) << "OpenReport";
    }
    EXPECT_EQ(S_OK, engine.CheckSystemVersion(report ? report->Section() : nullptr));
    ExpectRows(GetParam().verbose);
    EXPECT_EQ(expected.name, engine.facts.osInfo.name);
    EXPECT_EQ(sizeof(OsInfo), engine.facts.osInfo.size);
    if (report)
    {
        EXPECT_EQ(test::ReportWithSection(test::ExpectedOsInfo(expected)), report->SaveAndClose());
    }
}

INSTANTIATE_TEST_SUITE_P(Options, CheckSystemVersionTest, testing::ValuesIn(test::kAllProbeOptions),
                         test::ProbeOptionsName);

TEST_F(CheckSystemVersionTest, WithoutParentTheAppendFailureIsTheResultAfterTheSummaryRow)
{
    test::CScratchReport report(engine);
    ASSERT_EQ(S_OK, report.OpenResult()) << "OpenReport";
    EXPECT_EQ(E_POINTER, engine.CheckSystemVersion(nullptr));
    ExpectRows(true);
    EXPECT_EQ(test::ReportWithSection(""), report.SaveAndClose());
}
