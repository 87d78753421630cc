#include "engine/EventRows.h"

#include <new>

namespace corvane {

namespace {
constexpr size_t kSpacesPerLevel = 4;
constexpr int kNoRow = -1;
} // namespace

int EventRowIcon(DWORD style)
{
    return static_cast<int>(LOWORD(style));
}

int EventRowIndent(DWORD style)
{
    return static_cast<int>(HIWORD(style) & 0x7FFF);
}

CEventRows::Result CEventRows::Insert(int position, DWORD style, const wchar_t* text)
{
    const int count = Count();
    if (position < 0 || position > count)
        position = count;
    try
    {
        rows_.insert(rows_.begin() + position, EventRowData{style, text ? text : L""});
    }
    catch (const std::bad_alloc&)
    {
        return {Change::None, kNoRow}; // the row is refused; the rows before it stay
    }
    return {Change::Inserted, position};
}

CEventRows::Result CEventRows::Update(int position, DWORD style, const wchar_t* text)
{
    const int count = Count();
    if (count == 0 || position >= count)
        return Insert(position, style, text);
    if (position < 0)
        position = count - 1;
    try
    {
        rows_[static_cast<size_t>(position)] = EventRowData{style, text ? text : L""};
    }
    catch (const std::bad_alloc&)
    {
        return {Change::None, position}; // the row keeps its text
    }
    return {Change::Updated, position};
}

CEventRows::Result CEventRows::Remove(int position)
{
    const int count = Count();
    if (position >= count)
        return {Change::None, count};
    if (position < 0)
    {
        std::vector<EventRowData>().swap(rows_); // a run's rows may be many: their memory goes with them
        return {Change::Cleared, 0};
    }
    rows_.erase(rows_.begin() + position);
    return {Change::Removed, position};
}

std::wstring PrintableRowText(const std::wstring& text)
{
    std::wstring printable;
    printable.reserve(text.size());
    for (const wchar_t c : text)
    {
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
        if (!control)
        {
            printable += c;
            continue;
        }
        static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
        printable += L"<U+";
        for (int shift = 12; shift >= 0; shift -= 4)
            printable += kDigits[(c >> shift) & 0xF];
        printable += L'>';
    }
    return printable;
}

std::wstring EventRowLine(const EventRowData& row)
{
    std::wstring line(static_cast<size_t>(EventRowIndent(row.style)) * kSpacesPerLevel, L' ');
    line += PrintableRowText(row.text);
    return line;
}

std::wstring EventRowsText(const std::vector<EventRowData>& rows, const std::vector<int>* indices)
{
    std::wstring text;
    bool first = true;
    const auto append = [&](size_t index) {
        if (index >= rows.size())
            return;
        if (!first)
            text += L"\r\n";
        first = false;
        text += EventRowLine(rows[index]);
    };
    if (indices)
    {
        for (const int index : *indices)
        {
            if (index >= 0)
                append(static_cast<size_t>(index));
        }
    }
    else
    {
        for (size_t index = 0; index < rows.size(); ++index)
            append(index);
    }
    return text;
}

} // namespace corvane
