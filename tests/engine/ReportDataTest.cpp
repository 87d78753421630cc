// The engine object: defaults, the output-folder rule, the lock, the stop event and the report's life.
#include "engine/ReportData.h"
#include "engine/OutputFolder.h"

#include "framework/UniqueHandle.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TestThread.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(ReportDataDefaults, FreshEngineHasBothOptionsOnAndTheExecutablesFolder)
{
    CReportData engine;
    EXPECT_TRUE(engine.verbose);
    EXPECT_TRUE(engine.saveReport);
    EXPECT_EQ(nullptr, engine.report);
    EXPECT_EQ(nullptr, engine.runningThread);
    EXPECT_TRUE(engine.stopEvent.IsCreated());
    EXPECT_FALSE(engine.stopEvent.TakeSignal());

    wchar_t modulePath[MAX_PATH];
    ::GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
    std::wstring expected(modulePath);
    expected.erase(expected.rfind(L'\\'));
    EXPECT_EQ(expected, engine.outputFolder);
    EXPECT_NE(L'\\', engine.outputFolder.back());
}

TEST(OutputFolderFromModulePath, CutsBeforeTheLastBackslash)
{
    EXPECT_EQ(L"C:\\Tools", OutputFolderFromModulePath(L"C:\\Tools\\x.exe"));
    EXPECT_EQ(L"C:", OutputFolderFromModulePath(L"C:\\x.exe"));
    EXPECT_EQ(L"C:\\", OutputFolderFromModulePath(L"x.exe"));
    EXPECT_EQ(L"C:\\", OutputFolderFromModulePath(L"\\x.exe"));
    EXPECT_EQ(L"C:\\", OutputFolderFromModulePath(L""));
}

TEST(ReportDataLock, IsReentrantOnOneThreadAndExcludesAnother)
{
    CReportData engine;
    CScopedLock outer(engine);
    {
        CScopedLock inner(engine);
    }
    bool otherGotIt = true;
    test::CTestThread other([&] {
        otherGotIt = engine.TryLock();
        if (otherGotIt)
            engine.Unlock();
    });
    other.Join();
    EXPECT_FALSE(otherGotIt);
}

TEST(ReportDataStopEvent, IsAutoResetAndUnsignalledAtStart)
{
    CReportData engine;
    engine.stopEvent.SetEvent();
    EXPECT_TRUE(engine.stopEvent.TakeSignal());
    EXPECT_FALSE(engine.stopEvent.TakeSignal());
}

TEST(OpenReport, CreatesTheSkeletonAndCloseReportReleasesIt)
{
    CReportData engine;
    CReportDocument* document = reinterpret_cast<CReportDocument*>(1);
    ASSERT_EQ(S_OK, engine.OpenReport(&document));
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(engine.report.get(), document);
    EXPECT_NE(nullptr, document->DataNode());
    EXPECT_EQ(S_OK, engine.CloseReport());
    EXPECT_EQ(nullptr, engine.report);
    // COM was uninitialised again: the thread can enter another apartment.
    EXPECT_EQ(S_OK, ::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    ::CoUninitialize();
}

TEST(OpenReport, SecondOpenWithoutCloseIsUnexpectedAndKeepsTheDocument)
{
    CReportData engine;
    CReportDocument* first = nullptr;
    ASSERT_EQ(S_OK, engine.OpenReport(&first));
    CReportDocument* second = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(0x8000FFFF), engine.OpenReport(&second));
    EXPECT_EQ(first, engine.report.get());
    engine.CloseReport();
}

TEST(OpenReport, MissingOutArgumentIsAPointerError)
{
    CReportData engine;
    EXPECT_EQ(static_cast<HRESULT>(0x80004003), engine.OpenReport(nullptr));
    EXPECT_EQ(nullptr, engine.report);
}

TEST(OpenReport, ReturnsTheCoInitializeFailureInAMultithreadedApartment)
{
    HRESULT result = S_OK;
    bool held = true;
    test::CTestThread worker([&] {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CReportData engine;
        CReportDocument* document = nullptr;
        result = engine.OpenReport(&document);
        held = engine.report != nullptr || document != nullptr;
        ::CoUninitialize();
    });
    worker.Join();
    EXPECT_EQ(RPC_E_CHANGED_MODE, result);
    EXPECT_FALSE(held);
}

TEST(OpenReport, DestroyingTheEngineReleasesADocumentStillHeld)
{
    ASSERT_EQ(S_OK, ::CoInitialize(nullptr));
    IXMLDOMDocument2* dom = nullptr;
    {
        CReportData engine;
        CReportDocument* document = nullptr;
        ASSERT_EQ(S_OK, engine.OpenReport(&document));
        dom = document->Document();
        dom->AddRef();
    }
    // Only this test's own reference is left.
    EXPECT_EQ(0u, dom->Release());
    ::CoUninitialize(); // the engine's initialisation, which its destructor leaves alone
    ::CoUninitialize();
}

TEST(AttachSink, RowsGoToTheSinkAndWithoutOneNothingIsKept)
{
    test::CRecordingSink sink;
    CReportData engine;
    EXPECT_EQ(-1, engine.InsertEvent(-1, EventStyle(EventIcon::Info, 0), L"nowhere"));
    EXPECT_EQ(0, engine.RemoveEvent(-1));
    engine.AttachSink(&sink);
    EXPECT_EQ(0, engine.InsertEvent(-1, EventStyle(EventIcon::Info, 0), L"kept"));
    engine.UpdateProgress(ProgressStep, 0, DefaultStatusText);
    EXPECT_EQ(L"Test process is running...", sink.StatusText());
    engine.AttachSink(nullptr);
    EXPECT_EQ(-1, engine.UpdateEvent(0, EventStyle(EventIcon::Info, 0), L"nowhere"));
    EXPECT_EQ(1u, sink.Rows().size());
}
