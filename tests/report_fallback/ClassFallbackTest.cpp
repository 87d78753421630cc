// The MSXML class fallback, in a prefix of its own whose class registrations the test removes.
#include "report/ReportDocument.h"

#include "framework/ComInitialization.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

using namespace corvane;

namespace {

constexpr CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};

void Unregister(const wchar_t* classId)
{
    const std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") + classId;
    const LONG status = ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << "SHDeleteKeyW gave " << status;
}

} // namespace

TEST(ClassFallback, WithoutDomDocument40TheFirstCreateTakesDomDocument30AndKeepsIt)
{
    Unregister(L"{88d969c0-f192-11d4-a65f-0040963251e5}");
    CComInitialization com;
    ASSERT_EQ(S_OK, com.Initialize());
    EXPECT_TRUE(::IsEqualCLSID(IID_IUnknown, CReportDocument::RememberedClass()));

    CReportDocument first;
    ASSERT_EQ(S_OK, first.Create());
    EXPECT_TRUE(::IsEqualCLSID(kDomDocument30, CReportDocument::RememberedClass()));

    CReportDocument second;
    ASSERT_EQ(S_OK, second.Create());
    EXPECT_TRUE(::IsEqualCLSID(kDomDocument30, CReportDocument::RememberedClass()));
    EXPECT_NE(nullptr, second.DataNode());
}

TEST(ClassFallback, WithNoClassRegisteredCreateFailsAndForgetsTheClass)
{
    Unregister(L"{88d969c0-f192-11d4-a65f-0040963251e5}");
    Unregister(L"{f5078f32-c551-11d3-89b9-0000f81fe221}");
    Unregister(L"{f5078f1b-c551-11d3-89b9-0000f81fe221}");
    CComInitialization com;
    ASSERT_EQ(S_OK, com.Initialize());

    CReportDocument document;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, document.Create());
    EXPECT_EQ(nullptr, document.Document());
    EXPECT_EQ(nullptr, document.RootNode());
    EXPECT_EQ(nullptr, document.HeaderNode());
    EXPECT_EQ(nullptr, document.DataNode());
    EXPECT_TRUE(::IsEqualCLSID(IID_IUnknown, CReportDocument::RememberedClass()));
}
