#pragma once
// The world the UI tests need in their own Wine prefix: an Outlook to find, a reports folder, windows
// that Wine frames itself, and a Messaging Subsystem key that can be made long.

#include "tests/app/UiDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::uitest {

inline const std::wstring kReports = L"C:\\Reports";
inline const std::wstring kReportFile = L"C:\\Reports\\Corvane.xml";

// Idempotent; run before the first Corvane.exe of the program starts.
void PrepareWorld();

// Adds count values to the Messaging Subsystem key, so that a verbose dump of it takes a while.
void AddLongValues(int count);
void RemoveLongValues(int count);

// The rows of the run driver itself (indent 0), by text.
std::vector<std::wstring> DriverRows(const std::vector<EventRow>& rows);
// "Test started at 2009-03-05 09:07:02." and the like: the text up to the timestamp matches the
// prefix, and a well-formed timestamp and the final full stop follow.
bool IsStamped(const std::wstring& text, const std::wstring& prefix);
// Index of the driver's row (indent 0) with exactly this text; -1 when none.
int FindDriverRow(const std::vector<EventRow>& rows, const std::wstring& text);
// Index of the first row whose text starts with prefix; -1 when none.
int FindRow(const std::vector<EventRow>& rows, const std::wstring& prefix);
std::string Narrow(const std::wstring& text);
std::wstring Describe(const std::vector<EventRow>& rows);

// Starts Corvane.exe for one test and makes sure it has gone at the end.
class CUiTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { PrepareWorld(); }
    void SetUp() override;
    void TearDown() override;

    // Sets the output folder and options, presses Execute and waits for the run to end.
    void RunTest(const std::wstring& folder, bool verbose, bool saveReport);

    CUiDriver ui;
};

} // namespace corvane::uitest
