// Copies a registry key into the report and, in verbose runs, into the event list: subkeys first, each
// with its whole subtree as deep as asked, then the values, all in the registry's enumeration order.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "framework/UniqueHandle.h"
#include "probes/mail/RegistryValueText.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

namespace corvane {

namespace {

constexpr DWORD kNameUnits = 260;  // terminator included
constexpr DWORD kDataBytes = 2080; // bytes, not characters
// How often the walk looks at the stop signal: every look is a wait on a kernel event, as costly as a
// registry call, so it is taken at the first entry of each enumeration and at every 32nd after it.
constexpr DWORD kStopLookInterval = 32;

// An unlimited depth stays so; a positive one shrinks by one level.
int NextLevel(int limit)
{
    return limit > 0 ? limit - 1 : limit;
}

} // namespace

HRESULT CReportData::DumpRegistryKey(HKEY key, IXMLDOMNode* parent, int* rowPosition, int indent,
                                     int logDepth, int subkeyDepth)
{
    int appendAtEnd = -1;
    int& position = rowPosition ? *rowPosition : appendAtEnd;
    const bool writesReport = report && parent;
    wchar_t name[kNameUnits];

    if (subkeyDepth == kUnlimitedDepth || subkeyDepth > 0)
    {
        for (DWORD index = 0;; ++index)
        {
            if (index % kStopLookInterval == 0 && StopRequested())
                return S_FALSE;
            DWORD nameLength = kNameUnits;
            const LONG status =
                ::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_MORE_DATA)
                continue; // a name that does not fit the buffer is left out; the walk goes on
            if (status != ERROR_SUCCESS)
                break;

            // A subkey that cannot be opened (a vendor installer's ACL) is shown with its error marker in
            // place of its dump, as a value too large is; the walk goes on with the next one.
            CRegKey subkey;
            const LONG opened = ::RegOpenKeyExW(key, name, 0, KEY_READ, subkey.Put());
            const std::wstring marker =
                opened == ERROR_SUCCESS ? std::wstring() : xml::ErrorMarker(HResultFromRegistry(opened));
            CComPtr<IXMLDOMNode> node;
            if (writesReport)
            {
                const AttributePair attributes[] = {{xml::TypeAttribute, xml::ListRegNode},
                                                    {xml::NameAttribute, name}};
                ElementSpec spec(xml::DataList, marker.empty() ? nullptr : marker.c_str(), attributes, 2);
                report->AppendElement(&spec, parent, node.Put());
            }
            if (verbose && (logDepth < 0 || logDepth > 1))
            {
                InsertRowAt(*this, position, EventStyle(EventIcon::FolderClosed, indent), name);
                if (!marker.empty())
                    InsertRowAt(*this, position, EventStyle(EventIcon::Warning, indent + 1), marker);
            }
            if (!marker.empty())
                continue;
            const HRESULT hr = DumpRegistryKey(subkey.Get(), node.Get(), &position, indent + 1,
                                               NextLevel(logDepth), NextLevel(subkeyDepth));
            if (hr != S_OK)
                return hr; // a failure below, or a stop
        }
    }

    alignas(8) BYTE data[kDataBytes];
    for (DWORD index = 0;; ++index)
    {
        if (index % kStopLookInterval == 0 && StopRequested())
            return S_FALSE;
        DWORD nameLength = kNameUnits;
        DWORD type = REG_NONE;
        DWORD size = kDataBytes;
        LONG status = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size);
        std::wstring text;
        if (status == ERROR_MORE_DATA)
        {
            // Either the data or the name does not fit. Asking for the name and type alone tells which:
            // data too large is shown in its place as an error, a name too long is left out.
            nameLength = kNameUnits;
            type = REG_NONE;
            status = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, nullptr);
            if (status == ERROR_MORE_DATA)
                continue;
            if (status != ERROR_SUCCESS)
                break;
            text = xml::ErrorMarker(HResultFromRegistry(ERROR_MORE_DATA));
        }
        else if (status == ERROR_SUCCESS)
        {
            text = RegistryValueText(type, data, size);
        }
        else
        {
            break;
        }

        const std::wstring valueName =
            nameLength ? std::wstring(name, nameLength) : LoadResourceString(IDS_DEFAULT_VALUE_NAME);
        if (writesReport)
        {
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::RegistryTypeName(type)},
                                                {xml::NameAttribute, valueName.c_str()}};
            ElementSpec spec(xml::DataItem, text.c_str(), attributes, 2);
            report->AppendElement(&spec, parent);
        }
        if (verbose && logDepth != 0)
        {
            InsertRowAt(*this, position, EventStyle(RegistryValueIcon(type), indent),
                        FormatResourceString(IDS_REGISTRY_VALUE, valueName.c_str(), text.c_str()));
        }
    }
    return S_OK;
}

} // namespace corvane
