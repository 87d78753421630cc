#include "probes/mail/RegistryWalk.h"

#include "framework/HResult.h"
#include "framework/UniqueHandle.h"
#include "probes/mail/RegistryValueText.h"
#include "report/ReportVocabulary.h"

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

HRESULT WalkRegistryKey(HKEY key, int subkeyDepth, IRegistryWalker& walker)
{
    wchar_t name[kNameUnits];
    if (subkeyDepth == kAllSubkeyLevels || subkeyDepth > 0)
    {
        for (DWORD index = 0;; ++index)
        {
            if (index % kStopLookInterval == 0 && walker.StopRequested())
                return S_FALSE;
            DWORD nameLength = kNameUnits;
            const LONG status =
                ::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_MORE_DATA)
                continue; // a name that does not fit the buffer is left out; the walk goes on
            if (status != ERROR_SUCCESS)
                break;

            // A subkey that cannot be opened (a vendor installer's ACL) is the walker's to show; the walk
            // goes on with the next one.
            CRegKey subkey;
            const LONG opened = ::RegOpenKeyExW(key, name, 0, KEY_READ, subkey.Put());
            walker.EnterSubkey(name, opened);
            if (opened != ERROR_SUCCESS)
                continue;
            const HRESULT hr = WalkRegistryKey(subkey.Get(), NextLevel(subkeyDepth), walker);
            walker.LeaveSubkey();
            if (hr != S_OK)
                return hr; // a stop below
        }
    }

    alignas(8) BYTE data[kDataBytes];
    for (DWORD index = 0;; ++index)
    {
        if (index % kStopLookInterval == 0 && walker.StopRequested())
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
        walker.Value(std::wstring(name, nameLength), type, text);
    }
    return S_OK;
}

} // namespace corvane
