#pragma once
// Puts a new file in a file's place in one step, through a temporary file that no one else can have made
// or can reach by its name.

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace corvane {

// Writes the parts, in order, into a new file beside path and only then puts it in path's place: a write
// that fails part-way (a full disk, a share that went away) leaves the previous file as it was and no
// half-written file behind. The temporary file's name is unpredictable and made with CREATE_NEW, never
// followed through a link, and written, renamed and on failure deleted through its own handle where
// Windows offers that (Vista and later; by name on XP). A link or junction at path is replaced, never
// written through.
HRESULT ReplaceFileWith(const wchar_t* path, std::initializer_list<std::string_view> parts);

} // namespace corvane
