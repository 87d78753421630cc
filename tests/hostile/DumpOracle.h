#pragma once
// What the registry dump must show for a key, worked out afresh from the registry as it is, by the
// dump's rules: subkeys first (as deep as asked), then values, in enumeration order; a value whose name
// does not fit 259 units is left out; a value whose data exceeds 2080 bytes is shown as the error marker;
// every other value's text is made from exactly the bytes that the registry holds. And the same tree as
// the saved report holds it, read back from the file.

#include "tests/support/RecordingSink.h"

#include <windows.h>

#include <string>
#include <vector>

namespace corvane::scale {

struct DumpItem
{
    DWORD typeNumber = 0;
    std::wstring type; // the "Type" attribute
    std::wstring name; // "(Default)" for the unnamed value
    std::wstring text;

    bool operator==(const DumpItem& other) const
    {
        return type == other.type && name == other.name && text == other.text;
    }
};

struct DumpList
{
    std::wstring name;
    std::vector<DumpList> lists;
    std::vector<DumpItem> items;
};

// The expected tree of HKLM or HKCU path, named as the probes name it ("HKLM\..."); false when the key
// cannot be opened.
bool ExpectedDump(HKEY root, const std::wstring& path, int subkeyDepth, DumpList& expected);

// The value's text by its type, from exactly size bytes.
std::wstring ExpectedValueText(DWORD type, const BYTE* data, DWORD size);
std::wstring ExpectedTypeName(DWORD type);
int ExpectedValueIcon(DWORD type);

// The text as the report can carry it: every character that XML 1.0 cannot carry becomes U+FFFD.
std::wstring XmlCarried(const std::wstring& text);

// Element text as an XML parser reads it back from the file: the saved text holds its carriage returns
// as they are, and every parser reads a carriage return (with the line feed after it) as one line feed.
std::wstring LineEndsAsRead(const std::wstring& text);

// The event rows of a dump at depth 2 with the given logDepth, in order.
std::vector<test::EventRow> ExpectedRows(const DumpList& hive, int logDepth);

// Every "RegHive" list of the saved report, read back with its items and lists; false with the reason
// when the file cannot be read. COM must be initialised on the calling thread.
bool ReadReportHives(const std::wstring& path, std::vector<DumpList>& hives, std::wstring& error);

// The first difference between the expected tree (XML-carried) and the one read back; empty when none.
std::string CompareDump(const DumpList& expected, const DumpList& actual);

// A text for messages: printable ASCII as it is, everything else as \uXXXX.
std::string Printable(const std::wstring& text, size_t limit = 120);

} // namespace corvane::scale
