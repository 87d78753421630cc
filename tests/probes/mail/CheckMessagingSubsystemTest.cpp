// The Windows Messaging Subsystem key.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"MAPIConfig\" Title=\"MAPI Configuration\">";

class CheckMessagingSubsystemTest : public ::testing::Test
{
protected:
    void MakeKey()
    {
        CRegKey key = scratch.Create();
        SetString(key.Get(), L"CMC", L"1");
        SetString(key.Get(), L"MAPI", L"1");
        SetString(key.Get(), L"MAPIX", L"1");
        SetString(scratch.Create(L"Profiles").Get(), L"DefaultProfile", L"Outlook");
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
    CRegistryScratch scratch{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem"};
};

} // namespace

TEST_F(CheckMessagingSubsystemTest, VerboseCopiesTheValuesOnly)
{
    MakeKey();
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckMessagingSubsystem(report.Section()));
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\n"
              "13 2 CMC: 1\n"
              "13 2 MAPI: 1\n"
              "13 2 MAPIX: 1\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(
        ReportFile(
            kSection,
            "<DataList Type=\"RegHive\" Name=\"HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\">\n"
            "<DataItem Type=\"REG_SZ\" Name=\"CMC\">1</DataItem>\n"
            "<DataItem Type=\"REG_SZ\" Name=\"MAPI\">1</DataItem>\n"
            "<DataItem Type=\"REG_SZ\" Name=\"MAPIX\">1</DataItem>\n"
            "</DataList>"),
        report.SavedText());
}

TEST_F(CheckMessagingSubsystemTest, NotVerboseShowsOnlyTheKeyRow)
{
    MakeKey();
    env.engine.verbose = FALSE;
    EXPECT_EQ(S_OK, env.engine.CheckMessagingSubsystem(nullptr));
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\n", Rows());
}

TEST_F(CheckMessagingSubsystemTest, MissingKeyFailsTheStep)
{
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), env.engine.CheckMessagingSubsystem(report.Section()));
    EXPECT_EQ("1 1 Failed to query MAPI config information. (0x80070002)\n", Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}
