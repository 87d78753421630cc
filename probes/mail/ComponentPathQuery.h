#pragma once
// A MAPI library's FGetComponentPath, asked for a component under each language choice: the library is
// loaded from exactly the file named and freed again.

#include <windows.h>

#include <string>

namespace corvane {

// The three questions, in the order they are asked: under the application's language qualifier, under
// Office's, and under none.
enum ComponentPathChoice : int
{
    ApplicationLanguage = 0,
    OfficeLanguage = 1,
    AnyLanguage = 2,
    ComponentPathChoices = 3,
};

struct ComponentPathAnswer
{
    // S_OK when the library was loaded and has FGetComponentPath; the failure otherwise, when no call
    // was made.
    HRESULT load = E_FAIL;
    // Each call's result (S_OK when FGetComponentPath returned TRUE, otherwise its last error) and the
    // path text it left, whichever it returned.
    HRESULT results[ComponentPathChoices] = {E_FAIL, E_FAIL, E_FAIL};
    std::wstring paths[ComponentPathChoices];
};

// "C:\..." or "\\server\share\...": a path that no search order can turn into another file.
bool IsAbsolutePath(const wchar_t* path);

// Loads the library at libraryPath (refused with ERROR_MOD_NOT_FOUND unless the path is absolute) and
// asks for component with the qualifiers, each the whole data of a multi-string value.
ComponentPathAnswer QueryComponentPaths(const wchar_t* libraryPath, const std::wstring& component,
                                        const std::wstring& applicationQualifier,
                                        const std::wstring& officeQualifier);

} // namespace corvane
