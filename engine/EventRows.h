#pragma once
// The event rows as the engine gives them, kept by whichever side of the sink shows them: a row is its
// style and its text. The rules of positions are the sink's (engine/EventSink.h).

#include <windows.h>

#include <string>
#include <vector>

namespace corvane {

struct EventRowData
{
    DWORD style;
    std::wstring text;
};

int EventRowIcon(DWORD style);
int EventRowIndent(DWORD style);

class CEventRows
{
public:
    // What a change did, so that a list showing the rows can follow it.
    enum class Change
    {
        None,     // refused (out of memory) or nothing to remove
        Inserted, // index is the new row's
        Updated,  // index is the row's
        Removed,  // index is the row that was removed
        Cleared,  // every row was removed
    };
    struct Result
    {
        Change change;
        int index; // the sink's return value
    };

    Result Insert(int position, DWORD style, const wchar_t* text);
    Result Update(int position, DWORD style, const wchar_t* text);
    Result Remove(int position);

    const std::vector<EventRowData>& Rows() const { return rows_; }
    int Count() const { return static_cast<int>(rows_.size()); }

private:
    std::vector<EventRowData> rows_;
};

// A row's text with every control character (C0, DEL, C1, the line and paragraph separators) shown as
// "<U+000D>": a registry value's CR, LF or ESC must not start a line of its own or move a console's
// cursor in what is printed or pasted. The report keeps its own escaping.
std::wstring PrintableRowText(const std::wstring& text);

// One line of plain text for a row: indented four spaces a level, its text printable.
std::wstring EventRowLine(const EventRowData& row);

// The rows as plain text for the clipboard and the console, in list order, lines separated by CR LF;
// only those whose indices are given when indices is not null. Empty when there is no row to take.
std::wstring EventRowsText(const std::vector<EventRowData>& rows, const std::vector<int>* indices = nullptr);

} // namespace corvane
