#include "probes/mail/ComponentPathQuery.h"

#include "framework/HResult.h"
#include "framework/SystemLibrary.h"
#include "framework/UniqueHandle.h"
#include "probes/mail/AnsiText.h"

#include <cstring>

namespace corvane {

namespace {

// The prototype that the MAPI stub library publishes.
using FGetComponentPathProc = BOOL(WINAPI*)(LPSTR component, LPSTR qualifier, LPSTR dllPath, DWORD bufferSize,
                                            BOOL install);

constexpr DWORD kPathBufferBytes = 520;

// A qualifier is a multi-string: the whole data, then a closing empty string even if the data lacks one,
// so the library never reads past what it was given.
std::string QualifierArgument(const std::wstring& wholeData)
{
    std::string qualifier = ToAnsi(wholeData);
    qualifier.append(2, '\0');
    return qualifier;
}

// Loads a library from exactly the file named; the modules it needs are looked for beside it first, then
// in the System folder.
HMODULE LoadLibraryByPath(const wchar_t* path)
{
    if (!path || !IsAbsolutePath(path))
    {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return LoadLibraryByFullPath(path);
}

} // namespace

bool IsAbsolutePath(const wchar_t* path)
{
    const bool drive = ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                       path[1] == L':' && path[2] == L'\\';
    return drive || (path[0] == L'\\' && path[1] == L'\\');
}

ComponentPathAnswer QueryComponentPaths(const wchar_t* libraryPath, const std::wstring& component,
                                        const std::wstring& applicationQualifier,
                                        const std::wstring& officeQualifier)
{
    ComponentPathAnswer answer;
    ::SetLastError(ERROR_SUCCESS);
    CModule library(LoadLibraryByPath(libraryPath));
    if (!library)
    {
        answer.load = FailureFromLastError();
        return answer;
    }
    ::SetLastError(ERROR_SUCCESS);
    const auto getComponentPath = GetProcAddressAs<FGetComponentPathProc>(library.Get(), "FGetComponentPath");
    if (!getComponentPath)
    {
        answer.load = FailureFromLastError();
        return answer;
    }
    answer.load = S_OK;

    const std::string componentText = ToAnsi(component.c_str());
    std::string application = QualifierArgument(applicationQualifier);
    std::string office = QualifierArgument(officeQualifier);
    char* const qualifiers[ComponentPathChoices] = {application.data(), office.data(), nullptr};
    for (int choice = 0; choice < ComponentPathChoices; ++choice)
    {
        // The library gets its own copy of the component: the prototype lets it write there.
        std::string componentArgument = componentText;
        char path[kPathBufferBytes] = {};
        ::SetLastError(ERROR_SUCCESS);
        const BOOL found =
            getComponentPath(componentArgument.data(), qualifiers[choice], path, kPathBufferBytes, FALSE);
        answer.results[choice] = found ? S_OK : FailureFromLastError();
        // Whatever the library left, nothing past the buffer is read.
        answer.paths[choice] = FromAnsi(path, ::strnlen(path, kPathBufferBytes));
    }
    return answer;
}

} // namespace corvane
