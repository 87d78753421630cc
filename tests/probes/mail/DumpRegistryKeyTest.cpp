// The registry subtree dump: value types and texts, depths, row positions, and its failure rules.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

class DumpRegistryKeyTest : public ::testing::Test
{
protected:
    HRESULT Dump(IXMLDOMNode* parent, int* rowPosition, int logDepth, int subkeyDepth, int indent = 2)
    {
        return env.engine.DumpRegistryKey(key.Get(), parent, rowPosition, indent, logDepth, subkeyDepth);
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    // Two clients with a value each; the first has a key of its own below it.
    void MakeClients()
    {
        SetString(key.Get(), L"", L"Client A");
        SetDword(key.Get(), L"Level", 1);
        CRegKey a = scratch.Create(L"Client A");
        SetString(a.Get(), L"DLLPath", L"C:\\a.dll");
        CRegKey deeper = scratch.Create(L"Client A\\Protocols");
        SetString(deeper.Get(), L"mailto", L"a:%1");
        CRegKey b = scratch.Create(L"Client B");
        SetDword(b.Get(), L"Flags", 2);
    }

    MailProbeEnvironment env;
    CRegistryScratch scratch{HKEY_CURRENT_USER, L"Software\\CorvaneMailTest\\Dump"};
    CRegKey key = scratch.Create();
};

const char kSection[] = "<ReportSection id=\"MailClients\" Title=\"Mail Clients Configuration\">";

} // namespace

TEST_F(DumpRegistryKeyTest, KeyWithoutSubkeysAndValuesGivesNothing)
{
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    int position = -1;
    EXPECT_EQ(S_OK, Dump(report.Section(), &position, kUnlimitedDepth, kUnlimitedDepth));
    EXPECT_EQ("", Rows());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}

TEST_F(DumpRegistryKeyTest, EveryTypeHasItsTextIconAndTypeName)
{
    SetString(key.Get(), L"", L"Microsoft Outlook");
    SetBytes(key.Get(), L"v00 none", REG_NONE, {});
    SetString(key.Get(), L"v01 sz", L"text & <more>");
    SetString(key.Get(), L"v02 expand", L"%SystemRoot%\\system32\\mapi32.dll", REG_EXPAND_SZ);
    SetBytes(key.Get(), L"v03 binary 1", REG_BINARY, std::vector<BYTE>(1, 7));
    SetBytes(key.Get(), L"v03 binary 16", REG_BINARY, std::vector<BYTE>(16, 7));
    SetBytes(key.Get(), L"v03 binary 21", REG_BINARY, std::vector<BYTE>(21, 7));
    SetDword(key.Get(), L"v04 dword", 42);
    SetBytes(key.Get(), L"v05 big endian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0x2A});
    SetBytes(key.Get(), L"v06 link", REG_LINK, {'a', 0, 'b', 0});
    SetMultiString(key.Get(), L"v07 multi", {L"a", L"b", L"c"});
    SetBytes(key.Get(), L"v08 resources", REG_RESOURCE_LIST, std::vector<BYTE>(8));
    SetBytes(key.Get(), L"v09 descriptor", REG_FULL_RESOURCE_DESCRIPTOR, std::vector<BYTE>(11));
    SetBytes(key.Get(), L"v10 requirements", REG_RESOURCE_REQUIREMENTS_LIST, std::vector<BYTE>(2));
    SetBytes(key.Get(), L"v11 qword", REG_QWORD, {0, 0, 0, 0, 1, 0, 0, 0});
    SetBytes(key.Get(), L"v12 type 12", 12, {1, 2, 3, 4});
    SetString(key.Get(), L"v21 mui", L"@mapi32.dll,-100", 21);
    SetBytes(key.Get(), L"v99 type 4660", 0x1234, {1, 2, 3});

    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    int position = -1;
    EXPECT_EQ(S_OK, Dump(report.Section(), &position, 1, 0));
    EXPECT_EQ(-1, position);
    EXPECT_EQ("13 2 (Default): Microsoft Outlook\n"
              "12 2 v00 none: REG_NONE: 0 bytes\n"
              "13 2 v01 sz: text & <more>\n"
              "14 2 v02 expand: %SystemRoot%\\system32\\mapi32.dll\n"
              "15 2 v03 binary 1: REG_BINARY: 1 byte\n"
              "15 2 v03 binary 16: REG_BINARY: 16 bytes\n"
              "15 2 v03 binary 21: REG_BINARY: 21 byte\n"
              "16 2 v04 dword: 0x0000002A (42)\n"
              "17 2 v05 big endian: 0x0000002A (42)\n"
              "18 2 v06 link: REG_LINK: 4 bytes\n"
              "19 2 v07 multi: a|b|c\n"
              "20 2 v08 resources: REG_RESOURCE_LIST: 8 bytes\n"
              "21 2 v09 descriptor: REG_FULL_RESOURCE_DESCRIPTOR: 11 byte\n"
              "22 2 v10 requirements: REG_RESOURCE_REQUIREMENTS_LIST: 2 bytes\n"
              "23 2 v11 qword: 0x100000000 (4294967296)\n"
              "12 2 v12 type 12: REG_000C: 4 bytes\n"
              "24 2 v21 mui: @mapi32.dll,-100\n"
              "12 2 v99 type 4660: REG_1234: 3 bytes\n",
              Rows());
    EXPECT_EQ(
        ReportFile(kSection,
                   "<DataItem Type=\"REG_SZ\" Name=\"(Default)\">Microsoft Outlook</DataItem>\n"
                   "<DataItem Type=\"REG_NONE\" Name=\"v00 none\">REG_NONE: 0 bytes</DataItem>\n"
                   "<DataItem Type=\"REG_SZ\" Name=\"v01 sz\">text &amp; &lt;more&gt;</DataItem>\n"
                   "<DataItem Type=\"REG_EXPAND_SZ\" Name=\"v02 expand\">%SystemRoot%\\system32\\mapi32.dll"
                   "</DataItem>\n"
                   "<DataItem Type=\"REG_BINARY\" Name=\"v03 binary 1\">REG_BINARY: 1 byte</DataItem>\n"
                   "<DataItem Type=\"REG_BINARY\" Name=\"v03 binary 16\">REG_BINARY: 16 bytes</DataItem>\n"
                   "<DataItem Type=\"REG_BINARY\" Name=\"v03 binary 21\">REG_BINARY: 21 byte</DataItem>\n"
                   "<DataItem Type=\"REG_DWORD\" Name=\"v04 dword\">0x0000002A (42)</DataItem>\n"
                   "<DataItem Type=\"REG_DWORD_BIG_ENDIAN\" Name=\"v05 big endian\">0x0000002A (42)"
                   "</DataItem>\n"
                   "<DataItem Type=\"REG_LINK\" Name=\"v06 link\">REG_LINK: 4 bytes</DataItem>\n"
                   "<DataItem Type=\"REG_MULTI_SZ\" Name=\"v07 multi\">a|b|c</DataItem>\n"
                   "<DataItem Type=\"REG_RESOURCE_LIST\" Name=\"v08 resources\">REG_RESOURCE_LIST: 8 bytes"
                   "</DataItem>\n"
                   "<DataItem Type=\"REG_FULL_RESOURCE_DESCRIPTOR\" Name=\"v09 descriptor\">"
                   "REG_FULL_RESOURCE_DESCRIPTOR: 11 byte</DataItem>\n"
                   "<DataItem Type=\"REG_RESOURCE_REQUIREMENTS_LIST\" Name=\"v10 requirements\">"
                   "REG_RESOURCE_REQUIREMENTS_LIST: 2 bytes</DataItem>\n"
                   "<DataItem Type=\"REG_QWORD\" Name=\"v11 qword\">0x100000000 (4294967296)</DataItem>\n"
                   "<DataItem Type=\"REG_NONE\" Name=\"v12 type 12\">REG_000C: 4 bytes</DataItem>\n"
                   "<DataItem Type=\"REG_MUI_SZ\" Name=\"v21 mui\">@mapi32.dll,-100</DataItem>\n"
                   "<DataItem Type=\"REG_NONE\" Name=\"v99 type 4660\">REG_1234: 3 bytes</DataItem>\n"),
        report.SavedText());
}

TEST_F(DumpRegistryKeyTest, ValueTooLargeForTheBufferIsAnErrorInItsPlaceAndTheWalkGoesOn)
{
    SetString(key.Get(), L"a first", L"1");
    SetBytes(key.Get(), L"b large", REG_BINARY, std::vector<BYTE>(3000, 0xAB));
    SetString(key.Get(), L"c large text", std::wstring(1500, L'x'));
    SetBytes(key.Get(), L"d just fits", REG_BINARY, std::vector<BYTE>(2080, 1));
    SetString(key.Get(), L"e after", L"5");

    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, 1, 0));
    EXPECT_EQ("13 2 a first: 1\n"
              "15 2 b large: ##ERROR:0x800700EA##\n"
              "13 2 c large text: ##ERROR:0x800700EA##\n"
              "15 2 d just fits: REG_BINARY: 2080 bytes\n"
              "13 2 e after: 5\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection,
                         "<DataItem Type=\"REG_SZ\" Name=\"a first\">1</DataItem>\n"
                         "<DataItem Type=\"REG_BINARY\" Name=\"b large\">##ERROR:0x800700EA##</DataItem>\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"c large text\">##ERROR:0x800700EA##</DataItem>\n"
                         "<DataItem Type=\"REG_BINARY\" Name=\"d just fits\">REG_BINARY: 2080 bytes"
                         "</DataItem>\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"e after\">5</DataItem>\n"),
              report.SavedText());
}

TEST_F(DumpRegistryKeyTest, ValueNameOf260UnitsOrMoreIsLeftOutAndTheWalkGoesOn)
{
    const std::wstring fits = L"c" + std::wstring(258, L'x');    // 259 units and the terminator
    const std::wstring tooLong = L"b" + std::wstring(259, L'x'); // 260 units
    const std::wstring muchTooLong = L"d" + std::wstring(400, L'x');
    SetString(key.Get(), L"a", L"1");
    SetString(key.Get(), tooLong.c_str(), L"2");
    SetString(key.Get(), fits.c_str(), L"3");
    SetString(key.Get(), muchTooLong.c_str(), L"4");
    SetString(key.Get(), L"e", L"5");

    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, 1, 0));
    EXPECT_EQ("13 2 a: 1\n"
              "13 2 " +
                  ToUtf8(fits) +
                  ": 3\n"
                  "13 2 e: 5\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection, "<DataItem Type=\"REG_SZ\" Name=\"a\">1</DataItem>\n"
                                   "<DataItem Type=\"REG_SZ\" Name=\"" +
                                       ToUtf8(fits) +
                                       "\">3</DataItem>\n"
                                       "<DataItem Type=\"REG_SZ\" Name=\"e\">5</DataItem>\n"),
              report.SavedText());
}

TEST_F(DumpRegistryKeyTest, SubkeysComeBeforeValuesEachWithItsSubtree)
{
    MakeClients();
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, kUnlimitedDepth, kUnlimitedDepth));
    EXPECT_EQ("10 2 Client A\n"
              "10 3 Protocols\n"
              "13 4 mailto: a:%1\n"
              "13 3 DLLPath: C:\\a.dll\n"
              "10 2 Client B\n"
              "16 3 Flags: 0x00000002 (2)\n"
              "13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection,
                         "<DataList Type=\"RegNode\" Name=\"Client A\">\n"
                         "<DataList Type=\"RegNode\" Name=\"Protocols\">\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"mailto\">a:%1</DataItem>\n"
                         "</DataList><DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\a.dll</DataItem>\n"
                         "</DataList><DataList Type=\"RegNode\" Name=\"Client B\">\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Flags\">0x00000002 (2)</DataItem>\n"
                         "</DataList><DataItem Type=\"REG_SZ\" Name=\"(Default)\">Client A</DataItem>\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Level\">0x00000001 (1)</DataItem>\n"),
              report.SavedText());
}

TEST_F(DumpRegistryKeyTest, LogDepthTwoSubkeyDepthOneShowsClientsAtTwoAndTheirValuesAtThree)
{
    MakeClients();
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, 2, 1));
    EXPECT_EQ("10 2 Client A\n"
              "13 3 DLLPath: C:\\a.dll\n"
              "10 2 Client B\n"
              "16 3 Flags: 0x00000002 (2)\n"
              "13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
    // The clients' own subkeys are not read.
    EXPECT_EQ(ReportFile(kSection,
                         "<DataList Type=\"RegNode\" Name=\"Client A\">\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\a.dll</DataItem>\n"
                         "</DataList><DataList Type=\"RegNode\" Name=\"Client B\">\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Flags\">0x00000002 (2)</DataItem>\n"
                         "</DataList><DataItem Type=\"REG_SZ\" Name=\"(Default)\">Client A</DataItem>\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Level\">0x00000001 (1)</DataItem>\n"),
              report.SavedText());
}

TEST_F(DumpRegistryKeyTest, LogDepthOneShowsOnlyTheKeysOwnValues)
{
    MakeClients();
    EXPECT_EQ(S_OK, Dump(nullptr, nullptr, 1, 1));
    EXPECT_EQ("13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
}

TEST_F(DumpRegistryKeyTest, LogDepthZeroWritesNoRowsButTheWholeReport)
{
    MakeClients();
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, 0, 1));
    EXPECT_EQ("", Rows());
    EXPECT_EQ(ReportFile(kSection,
                         "<DataList Type=\"RegNode\" Name=\"Client A\">\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\a.dll</DataItem>\n"
                         "</DataList><DataList Type=\"RegNode\" Name=\"Client B\">\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Flags\">0x00000002 (2)</DataItem>\n"
                         "</DataList><DataItem Type=\"REG_SZ\" Name=\"(Default)\">Client A</DataItem>\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Level\">0x00000001 (1)</DataItem>\n"),
              report.SavedText());
}

TEST_F(DumpRegistryKeyTest, VerboseOffWritesNoRowAtAnyDepth)
{
    MakeClients();
    env.engine.verbose = FALSE;
    EXPECT_EQ(S_OK, Dump(nullptr, nullptr, kUnlimitedDepth, kUnlimitedDepth));
    EXPECT_EQ("", Rows());
}

TEST_F(DumpRegistryKeyTest, WithoutReportRowsStillFollowLogDepth)
{
    MakeClients();
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    // A section node without a report document on the engine writes nothing into it.
    std::unique_ptr<CReportDocument> held = std::move(env.engine.report);
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, 2, 1));
    env.engine.report = std::move(held);
    EXPECT_EQ("10 2 Client A\n"
              "13 3 DLLPath: C:\\a.dll\n"
              "10 2 Client B\n"
              "16 3 Flags: 0x00000002 (2)\n"
              "13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}

TEST_F(DumpRegistryKeyTest, RowsStackUpAboveThePlaceholderAndThePositionAdvances)
{
    MakeClients();
    env.engine.InsertEvent(-1, EventStyle(EventIcon::PageCheck, 0), L"Section");
    env.engine.InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), L"Placeholder");
    int position = 1;
    EXPECT_EQ(S_OK, Dump(nullptr, &position, 2, 1));
    EXPECT_EQ(7, position);
    EXPECT_EQ("6 0 Section\n"
              "10 2 Client A\n"
              "13 3 DLLPath: C:\\a.dll\n"
              "10 2 Client B\n"
              "16 3 Flags: 0x00000002 (2)\n"
              "13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n"
              "3 1 Placeholder\n",
              Rows());
}

TEST_F(DumpRegistryKeyTest, PositionMinusOneAppendsAndStaysMinusOne)
{
    MakeClients();
    env.engine.InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), L"Placeholder");
    int position = -1;
    EXPECT_EQ(S_OK, Dump(nullptr, &position, 1, 0));
    EXPECT_EQ(-1, position);
    EXPECT_EQ("3 1 Placeholder\n"
              "13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
}

TEST_F(DumpRegistryKeyTest, DepthSetsTheIndentOfTheKeysItems)
{
    SetString(key.Get(), L"Name", L"x");
    EXPECT_EQ(S_OK, Dump(nullptr, nullptr, 1, 0, 5));
    EXPECT_EQ("13 5 Name: x\n", Rows());
}

// A subkey that cannot be opened (a vendor installer's ACL; here a link to nowhere) shows its error marker
// in place of its dump, as a value too large does, and the walk goes on: the sections after the mail
// clients are still examined.
TEST_F(DumpRegistryKeyTest, SubkeyThatCannotBeOpenedIsItsErrorMarkerAndTheWalkGoesOn)
{
    MakeClients();
    CBrokenRegistryLink link(key.Get(), L"Client AB");
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, Dump(report.Section(), nullptr, 2, 1));
    EXPECT_EQ("10 2 Client A\n"
              "13 3 DLLPath: C:\\a.dll\n"
              "10 2 Client AB\n"
              "1 3 ##ERROR:0x80070002##\n"
              "10 2 Client B\n"
              "16 3 Flags: 0x00000002 (2)\n"
              "13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection,
                         "<DataList Type=\"RegNode\" Name=\"Client A\">\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\a.dll</DataItem>\n"
                         "</DataList><DataList Type=\"RegNode\" Name=\"Client AB\">"
                         "##ERROR:0x80070002##</DataList>\n"
                         "<DataList Type=\"RegNode\" Name=\"Client B\">\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Flags\">0x00000002 (2)</DataItem>\n"
                         "</DataList><DataItem Type=\"REG_SZ\" Name=\"(Default)\">Client A</DataItem>\n"
                         "<DataItem Type=\"REG_DWORD\" Name=\"Level\">0x00000001 (1)</DataItem>\n"),
              report.SavedText());
}

TEST_F(DumpRegistryKeyTest, SubkeyDepthZeroNeverOpensASubkey)
{
    MakeClients();
    CBrokenRegistryLink link(key.Get(), L"Client AB");
    EXPECT_EQ(S_OK, Dump(nullptr, nullptr, -1, 0));
    EXPECT_EQ("13 2 (Default): Client A\n"
              "16 2 Level: 0x00000001 (1)\n",
              Rows());
}

TEST_F(DumpRegistryKeyTest, StopSignalEndsTheWalkAndIsKeptForTheDriver)
{
    MakeClients();
    env.engine.stopEvent.SetEvent();
    EXPECT_EQ(S_FALSE, Dump(nullptr, nullptr, kUnlimitedDepth, kUnlimitedDepth));
    EXPECT_EQ("", Rows());
    EXPECT_TRUE(env.engine.stopSeen);
    EXPECT_TRUE(env.engine.StopRequested());
}
