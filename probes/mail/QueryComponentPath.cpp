// Calls a MAPI library's FGetComponentPath for Outlook's component under each language choice.
#include "engine/ReportData.h"

#include "engine/StringTable.h"
#include "framework/HResult.h"
#include "framework/SystemLibrary.h"
#include "framework/UniqueHandle.h"
#include "probes/mail/AnsiText.h"
#include "probes/mail/ProbeStep.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

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

struct ComponentCall
{
    char* qualifier;
    const wchar_t* memberName;
    UINT rowId;
};

// "C:\..." or "\\server\share\...": a path that no search order can turn into another file.
bool IsAbsolutePath(const wchar_t* path)
{
    const bool drive = ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                       path[1] == L':' && path[2] == L'\\';
    return drive || (path[0] == L'\\' && path[1] == L'\\');
}

// Loads a library from exactly the file named; the modules it needs are looked for beside it first, then
// in the System folder.
HMODULE LoadLibraryByPath(const wchar_t* path)
{
    if (!IsAbsolutePath(path))
    {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return LoadLibraryByFullPath(path);
}

} // namespace

HRESULT CReportData::QueryComponentPath(const wchar_t* module, IXMLDOMNode* parent, int& rowPosition,
                                        int level, const wchar_t* loadPath)
{
    if (!module)
        return E_INVALIDARG;
    InsertRowAt(*this, rowPosition, EventStyle(EventIcon::Monitor, level),
                FormatResourceString(IDS_LANGUAGE_DEPENDENT_PATH, module));

    HRESULT hr = S_OK;
    FGetComponentPathProc getComponentPath = nullptr;
    ::SetLastError(ERROR_SUCCESS);
    CModule library(LoadLibraryByPath(loadPath ? loadPath : module));
    if (!library)
    {
        hr = FailureFromLastError();
    }
    else
    {
        ::SetLastError(ERROR_SUCCESS);
        getComponentPath = GetProcAddressAs<FGetComponentPathProc>(library.Get(), "FGetComponentPath");
        if (!getComponentPath)
        {
            hr = FailureFromLastError();
            library.Reset();
        }
    }

    const AttributePair structAttributes[] = {{xml::TypeAttribute, xml::ProcedureCallStruct},
                                              {xml::ProcedureAttribute, xml::ComponentPathProcedure},
                                              {xml::ModulePathAttribute, module}};
    if (FAILED(hr))
    {
        if (report && parent)
        {
            const std::wstring marker = xml::ErrorMarkerLine(hr);
            ElementSpec spec(xml::DataStruct, marker.c_str(), structAttributes, 3);
            report->AppendElement(&spec, parent);
        }
        return hr;
    }

    CComPtr<IXMLDOMNode> callNode;
    if (report && parent)
    {
        ElementSpec spec(xml::DataStruct, nullptr, structAttributes, 3);
        report->AppendElement(&spec, parent, callNode.Put());
    }

    const std::string component = ToAnsi(msiComponentId.c_str());
    std::string applicationQualifier = QualifierArgument(msiApplicationLcid);
    std::string officeQualifier = QualifierArgument(msiOfficeLcid);
    const ComponentCall calls[] = {
        {applicationQualifier.data(), xml::ApplicationLcidMember, IDS_MS_OUTLOOK_PATH},
        {officeQualifier.data(), xml::OfficeLcidMember, IDS_MS_OFFICE_PATH},
        {nullptr, xml::UnspecifiedLcidMember, IDS_GENERIC_PATH},
    };
    for (const ComponentCall& call : calls)
    {
        // The library gets its own copy of the component: the prototype lets it write there.
        std::string componentArgument = component;
        char path[kPathBufferBytes] = {};
        ::SetLastError(ERROR_SUCCESS);
        const BOOL found =
            getComponentPath(componentArgument.data(), call.qualifier, path, kPathBufferBytes, FALSE);
        const HRESULT callResult = found ? S_OK : FailureFromLastError();
        // Whatever the library left, nothing past the buffer is read.
        const std::wstring pathText = FromAnsi(path, ::strnlen(path, kPathBufferBytes));
        if (callNode)
        {
            const std::wstring text = found ? pathText : xml::ErrorMarkerLine(callResult);
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::ValuePath},
                                                {xml::NameAttribute, call.memberName}};
            ElementSpec spec(xml::DataMember, text.c_str(), attributes, 2);
            report->AppendElement(&spec, callNode.Get());
        }
        if (verbose)
        {
            InsertRowAt(*this, rowPosition, EventStyle(EventIcon::WindowGrid, level + 1),
                        FormatResourceString(call.rowId, pathText.c_str()));
        }
    }
    return S_OK;
}

} // namespace corvane
