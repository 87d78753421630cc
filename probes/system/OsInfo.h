#pragma once
// The operating system record: version numbers, names, product type, suites and languages.

#include <windows.h>

namespace corvane {

struct OsInfo
{
    DWORD size;
    wchar_t name[256];
    DWORD major_version;
    DWORD minor_version;
    DWORD build_number;
    wchar_t platform[64];
    wchar_t service_pack[64];
    wchar_t product_type[128];
    wchar_t suites[256];
    WORD system_lang_id;
    wchar_t system_lang_code[6];
    WORD user_lang_id;
    wchar_t user_lang_code[6];
};

} // namespace corvane
