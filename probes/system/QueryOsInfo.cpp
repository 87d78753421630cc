#include "probes/system/QueryOsInfo.h"

#include "framework/HResult.h"
#include "probes/system/LanguageInfo.h"
#include "probes/system/OsVersionRules.h"

namespace corvane {

namespace {

// The language look-ups are silent: a locale that cannot be described leaves its code empty.
void FillLanguages(OsInfo* info)
{
    info->system_lang_id = ::GetSystemDefaultLangID();
    FormatLanguageCode(info->system_lang_id, info->system_lang_code);
    info->user_lang_id = ::GetUserDefaultLangID();
    FormatLanguageCode(info->user_lang_id, info->user_lang_code);
}

BOOL QueryVersionRecord(OSVERSIONINFOEXW& record, DWORD size)
{
    record.dwOSVersionInfoSize = size;
    ::SetLastError(ERROR_SUCCESS);
    return ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
}

} // namespace

HRESULT QueryOsInfo(OsInfo* info)
{
    if (!info || info->size < sizeof(OsInfo))
        return E_INVALIDARG;

    OSVERSIONINFOEXW record{};
    // Systems that predate the extended record refuse its size; the basic one is asked for instead.
    const bool extended = QueryVersionRecord(record, sizeof(OSVERSIONINFOEXW)) != FALSE;
    if (!extended && !QueryVersionRecord(record, sizeof(OSVERSIONINFOW)))
        return FailureFromLastError();

    ApplyVersionRecord(info, record, extended);
    FillLanguages(info);
    return S_OK;
}

} // namespace corvane
