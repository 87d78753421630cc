// Whole runs on a sample machine whose Outlook library (DLLPathEx) faults while it is loaded or inside
// FGetComponentPath: the child that asks it ends, the run ends as for a library that cannot be loaded,
// and the report is saved with the step's marker.
#include "engine/RunResult.h"
#include "framework/UniqueHandle.h"
#include "tests/hostile/RegistryWorld.h"
#include "tests/hostile/RunHarness.h"
#include "tests/hostile/SampleMachine.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::scale;

TEST(FaultingLibrary, AWholeRunEndsWithTheStepsMarkerAndSavesItsReport)
{
    ASSERT_TRUE(InstallMockMapiStub());
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    for (const wchar_t* library :
         {L"fixtures/mail/misbehaving/CALL.DLL", L"fixtures/mail/misbehaving/ATTACH.DLL"})
    {
        const std::wstring path = BuildFile(library);
        SCOPED_TRACE(test::ToUtf8(path));
        MachineSize size;
        size.clients = 2;
        size.languageValues = 10;
        WriteSampleMachine(size);
        CRegKey outlook = CreateKey(HKEY_LOCAL_MACHINE, std::wstring(kMailKey) + L"\\" + kOutlookClientName);
        ASSERT_TRUE(SetStringValue(outlook.Get(), L"DLLPathEx", path));

        test::CScratchFolder reports;
        CRunHarness harness;
        RunOptions options;
        options.outputFolder = reports.Path();
        const RunOutcome outcome = harness.Run(options);
        ASSERT_TRUE(outcome.ended) << "the run did not end";
        EXPECT_EQ(RunMapiComponentPathsFailed, outcome.result);

        std::string rows;
        for (const test::EventRow& row : harness.Rows())
            rows += test::ToUtf8(row.text) + "\n";
        const std::string report = test::ReadFileBytes(reports.File(L"Corvane.xml"));
        // The marker the child gave: the fault's code, or the loader's failure of a library that faulted
        // while it was loaded (Wine's loader fails it with ERROR_NOACCESS).
        const size_t marker = report.find(test::ToUtf8(path) + "\">##ERROR:0x");
        ASSERT_NE(std::string::npos, marker) << report;
        const std::string code = report.substr(report.find("0x", marker), 10);
        if (std::wstring(library).find(L"CALL") != std::wstring::npos)
        {
            EXPECT_EQ("0xC0000005", code);
        }
        EXPECT_NE(std::string::npos, rows.find("Failed to query MAPI config information. (" + code + ")"))
            << rows;
        EXPECT_NE(std::string::npos, rows.find("Report saved to the Corvane.xml file.")) << rows;
        EXPECT_NE(std::string::npos, report.find("<FailedAt>")) << report;
        EXPECT_NE(std::string::npos, report.find("</Report>")) << report;
    }
    ClearProbedKeys();
    ::CoUninitialize();
}
