#include "tests/hostile/SampleMachine.h"

#include "tests/hostile/HostileRegistry.h"
#include "tests/hostile/RegistryWorld.h"

#include <cstdio>

namespace corvane::scale {

namespace {

std::wstring Numbered(const wchar_t* format, int number)
{
    wchar_t text[64];
    std::swprintf(text, 64, format, number);
    return text;
}

std::wstring Letters(CRandom& random, int count)
{
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += static_cast<wchar_t>(random.Percent(15) ? L' ' : random.Between(L'a', L'z'));
    return text;
}

std::vector<BYTE> Bytes(CRandom& random, int count)
{
    std::vector<BYTE> bytes(static_cast<size_t>(count));
    for (BYTE& byte : bytes)
        byte = static_cast<BYTE>(random.Below(256));
    return bytes;
}

// One value of the mix: strings of 10 to 200 characters, numbers, binary data up to 2000 bytes,
// expandable strings and multi-strings.
bool WriteMixedValue(CRandom& random, HKEY key, const std::wstring& name)
{
    switch (random.Below(6))
    {
    case 0:
        return SetStringValue(key, name, Letters(random, random.Between(10, 200)));
    case 1:
        return SetRawValue(key, name, REG_DWORD, Bytes(random, 4));
    case 2:
        return SetRawValue(
            key, name, REG_BINARY,
            Bytes(random, random.Percent(80) ? random.Between(1, 64) : random.Between(65, 2000)));
    case 3:
        return SetStringValue(key, name, L"%ProgramFiles%\\" + Letters(random, random.Between(5, 60)),
                              REG_EXPAND_SZ);
    case 4: {
        std::vector<BYTE> data;
        for (int i = 0; i < 3; ++i)
        {
            const std::vector<BYTE> one = StringBytes(Letters(random, random.Between(3, 30)));
            data.insert(data.end(), one.begin(), one.end());
        }
        data.insert(data.end(), 2, 0);
        return SetRawValue(key, name, REG_MULTI_SZ, data);
    }
    default:
        return SetRawValue(key, name, REG_QWORD, Bytes(random, 8));
    }
}

} // namespace

int WriteSampleMachine(const MachineSize& size)
{
    ClearProbedKeys();
    CRandom random(0x5A3B1E);
    int values = 0;
    const std::wstring application = std::wstring(kLanguageKeyStart) + L"BenchApplication";
    const std::wstring office = std::wstring(kLanguageKeyStart) + L"BenchOffice";

    CRegKey mail = CreateKey(HKEY_LOCAL_MACHINE, kMailKey);
    values += SetStringValue(mail.Get(), L"", L"Microsoft Outlook");
    for (int client = 0; client < size.clients; ++client)
    {
        CRegKey key = CreateKey(mail.Get(), Numbered(L"Sample Mail Client %04d", client));
        values += SetStringValue(key.Get(), L"", Numbered(L"Sample Mail Client %04d", client));
        values += SetStringValue(key.Get(), L"DLLPath",
                                 Numbered(L"C:\\Program Files\\Client%04d\\mapi.dll", client));
        for (int i = 0; i < 3; ++i)
            values += WriteMixedValue(random, key.Get(), Numbered(L"Setting%d", i));
    }
    CRegKey outlook = CreateKey(mail.Get(), kOutlookClientName);
    values += SetStringValue(outlook.Get(), L"", L"Microsoft Outlook");
    values += SetStringValue(outlook.Get(), L"MSIComponentID", L"{FF1D0740-D227-11D1-A4B0-006008AF820E}");
    std::vector<BYTE> lcid = StringBytes(application);
    const std::vector<BYTE> second = StringBytes(L"1033");
    lcid.insert(lcid.end(), second.begin(), second.end());
    lcid.insert(lcid.end(), 2, 0);
    values += SetRawValue(outlook.Get(), L"MSIApplicationLCID", REG_MULTI_SZ, lcid);
    values += SetStringValue(outlook.Get(), L"MSIOfficeLCID", office, REG_MULTI_SZ);
    values += SetStringValue(outlook.Get(), L"DLLPath",
                             L"C:\\Program Files\\Microsoft Office\\OUTLOOK\\MSMAPI32.DLL");

    CRegKey first = CreateKey(HKEY_CURRENT_USER, L"Software\\" + application);
    for (int i = 0; i < size.languageValues; ++i)
        values += WriteMixedValue(random, first.Get(), Numbered(L"Value%05d", i));
    CRegKey other = CreateKey(HKEY_CURRENT_USER, L"Software\\" + office);
    for (int i = 0; i < 10; ++i)
        values += WriteMixedValue(random, other.Get(), Numbered(L"Value%05d", i));

    CRegKey messaging = CreateKey(HKEY_LOCAL_MACHINE, kMessagingKey);
    values += SetStringValue(messaging.Get(), L"MAPI", L"1");
    values += SetStringValue(messaging.Get(), L"MAPIX", L"1");
    values += SetStringValue(messaging.Get(), L"MAPIXVER", L"1.0.0.1");
    values += SetStringValue(messaging.Get(), L"CMCDLLNAME32", L"mapi32.dll");

    CRegKey appPaths = CreateKey(HKEY_LOCAL_MACHINE, kAppPathsKey);
    values += SetStringValue(appPaths.Get(), L"", BuildFile(L"fixtures/mail/outlook/OUTLOOK.EXE"));
    values +=
        SetStringValue(appPaths.Get(), L"Path", BuildFile(L"fixtures/mail/outlook") + L";C:\\Elsewhere");
    return values;
}

} // namespace corvane::scale
