#pragma once
// The event list as plain text for the clipboard: one line a row, in list order, indented four spaces a
// level, so that what Corvane found can be pasted into a support ticket as it reads on the screen.

#include <windows.h>

#include <string>

namespace corvane {

// The rows of a list-view control, each indented by its level, lines separated by CR LF; with
// selectedOnly, only its selected rows. Empty when there is no row to take.
std::wstring EventListText(HWND list, bool selectedOnly);

// A row's text with every control character (C0, DEL, C1, the line and paragraph separators) shown as
// "<U+000D>": a registry value's CR, LF or ESC must not start a line of its own or move a console's
// cursor in what is printed or pasted. The report keeps its own escaping.
std::wstring PrintableRowText(const std::wstring& text);

// One row's text, whole, and its indent level (0 when the row cannot be read).
std::wstring EventRowText(HWND list, int row);
int EventRowIndent(HWND list, int row);

// Puts the text on the clipboard as Unicode text (the system offers it in the other text formats).
HRESULT CopyTextToClipboard(HWND owner, const std::wstring& text);

} // namespace corvane
