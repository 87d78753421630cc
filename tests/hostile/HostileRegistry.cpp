#include "tests/hostile/HostileRegistry.h"

#include "tests/hostile/RegistryWorld.h"

#include <cstring>

namespace corvane::scale {

uint64_t CRandom::Next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

uint32_t CRandom::Below(uint32_t bound)
{
    return bound ? static_cast<uint32_t>(Next() % bound) : 0;
}

int CRandom::Between(int low, int high)
{
    return low + static_cast<int>(Below(static_cast<uint32_t>(high - low + 1)));
}

bool CRandom::Percent(int percent)
{
    return static_cast<int>(Below(100)) < percent;
}

namespace {

const wchar_t kXmlSpecial[] = L"<>&'\"";
const wchar_t kPunctuation[] = L" %|;:#=.,-_()[]{}/*?!~";

wchar_t PickFrom(CRandom& random, const wchar_t* set)
{
    return set[random.Below(static_cast<uint32_t>(std::wcslen(set)))];
}

// One name's length: mostly short, often at or around the limits of the dump's name buffer.
int NameLength(CRandom& random)
{
    const int kind = random.Between(0, 99);
    if (kind < 5)
        return 0;
    if (kind < 65)
        return random.Between(1, 16);
    if (kind < 78)
        return random.Between(17, 254);
    if (kind < 93)
        return random.Between(255, 261); // 259 fits the 260-unit buffer; 260 and 261 do not
    return random.Between(262, 300);
}

DWORD ValueType(CRandom& random)
{
    const int kind = random.Between(0, 99);
    if (kind < 75)
        return static_cast<DWORD>(random.Between(0, 11));
    if (kind < 80)
        return 21; // REG_MUI_SZ
    if (kind < 92)
        return static_cast<DWORD>(random.Between(12, 30));
    const DWORD large[] = {0x7FFFFFFF, 0xFFFFFFFF, 0x10000, 0x80000000, 0xFFFF, 0x12345678};
    return random.Percent(70) ? large[random.Below(6)] : static_cast<DWORD>(random.Next());
}

// A byte count for data of no particular shape: small, around the dump's 2080-byte buffer, or large.
DWORD DataSize(CRandom& random)
{
    const int kind = random.Between(0, 99);
    if (kind < 50)
        return static_cast<DWORD>(random.Between(0, 40));
    if (kind < 70)
        return static_cast<DWORD>(random.Between(41, 600));
    if (kind < 85)
        return static_cast<DWORD>(random.Between(2076, 2084));
    return static_cast<DWORD>(random.Between(600, 4000));
}

void AppendUnits(std::vector<BYTE>& bytes, const std::wstring& text)
{
    for (wchar_t unit : text)
    {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
}

// Text data for the string types: terminated or not, with a null inside, or cut at an odd byte.
std::vector<BYTE> StringData(CRandom& random)
{
    const int kind = random.Between(0, 99);
    int units = random.Percent(80) ? random.Between(0, 60) : random.Between(500, 1999);
    std::vector<BYTE> bytes;
    AppendUnits(bytes, HostileText(random, units, false));
    if (kind < 45)
        AppendUnits(bytes, std::wstring(1, L'\0'));
    else if (kind < 55 && bytes.size() >= 2)
    {
        // a null inside: the text ends there
        const size_t unit = random.Below(static_cast<uint32_t>(bytes.size() / 2));
        bytes[unit * 2] = 0;
        bytes[unit * 2 + 1] = 0;
    }
    else if (kind < 75)
        bytes.push_back(static_cast<BYTE>(random.Below(256))); // odd size
    // else: no terminator at all
    return bytes;
}

// Multi-strings: with or without their closing empty string, empty strings inside, cut anywhere.
std::vector<BYTE> MultiStringData(CRandom& random)
{
    std::vector<BYTE> bytes;
    const int count = random.Between(0, 5);
    for (int i = 0; i < count; ++i)
    {
        AppendUnits(bytes, HostileText(random, random.Percent(10) ? 0 : random.Between(1, 30), false));
        AppendUnits(bytes, std::wstring(1, L'\0'));
    }
    const int ending = random.Between(0, 99);
    if (ending < 50)
        AppendUnits(bytes, std::wstring(1, L'\0')); // the closing empty string
    else if (ending < 65 && !bytes.empty())
        bytes.resize(bytes.size() - random.Between(1, static_cast<int>(bytes.size() < 5 ? bytes.size() : 5)));
    else if (ending < 75)
        bytes.push_back(0x41); // odd size
    // else: the last string's terminator but no closing empty string
    return bytes;
}

std::vector<BYTE> RandomBytes(CRandom& random, DWORD size)
{
    std::vector<BYTE> bytes(size);
    for (BYTE& byte : bytes)
        byte = static_cast<BYTE>(random.Below(256));
    return bytes;
}

std::vector<BYTE> ValueData(CRandom& random, DWORD type)
{
    if (random.Percent(8))
        return RandomBytes(random, DataSize(random)); // any type with data of no shape at all
    switch (type)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case 21:
        return StringData(random);
    case REG_MULTI_SZ:
        return MultiStringData(random);
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        return RandomBytes(random, static_cast<DWORD>(random.Percent(60) ? 4 : random.Between(0, 9)));
    case REG_QWORD:
        return RandomBytes(random, static_cast<DWORD>(random.Percent(60) ? 8 : random.Between(0, 13)));
    default:
        return RandomBytes(random, DataSize(random));
    }
}

void WriteRandomValues(CRandom& random, HKEY key, int count, HostileCase& written)
{
    for (int i = 0; i < count; ++i)
    {
        const DWORD type = ValueType(random);
        if (SetRawValue(key, HostileText(random, NameLength(random), false), type, ValueData(random, type)))
            ++written.values;
    }
}

int ValueCount(CRandom& random)
{
    return random.Percent(90) ? random.Between(0, 14) : random.Between(15, 60);
}

void WriteNestedKeys(CRandom& random, HKEY parent, int depth, HostileCase& written)
{
    const int count = depth > 3 ? 0 : random.Between(0, depth == 0 ? 6 : 2);
    for (int i = 0; i < count; ++i)
    {
        const int length = NameLength(random);
        CRegKey key = CreateKey(parent, HostileText(random, length ? length : 1, true));
        if (!key)
            continue; // names longer than the registry allows for keys
        ++written.keys;
        WriteRandomValues(random, key.Get(), ValueCount(random), written);
        WriteNestedKeys(random, key.Get(), depth + 1, written);
    }
}

// A language value: mostly a usable key name, often a broken one. Returns the bytes and the name of the
// per-user key that the probe will look for (the first string of the data), empty when there is none.
std::vector<BYTE> LanguageValue(CRandom& random, DWORD& type, std::wstring& keyName)
{
    keyName = std::wstring(kLanguageKeyStart) + HostileText(random, random.Between(0, 30), true);
    std::vector<BYTE> bytes;
    AppendUnits(bytes, keyName);
    type = random.Percent(50) ? REG_MULTI_SZ : REG_SZ;
    const int shape = random.Between(0, 99);
    if (shape < 40)
    {
        AppendUnits(bytes, std::wstring(1, L'\0'));
        if (type == REG_MULTI_SZ)
        {
            AppendUnits(bytes, HostileText(random, random.Between(0, 20), false) + std::wstring(1, L'\0'));
            if (random.Percent(60))
                AppendUnits(bytes, std::wstring(1, L'\0'));
        }
    }
    else if (shape < 55)
    {
        // no terminator: the first string ends with the data
    }
    else if (shape < 65)
    {
        AppendUnits(bytes, std::wstring(1, L'\0'));
        bytes.push_back(0x33); // odd size
    }
    else if (shape < 72)
    {
        bytes.resize(bytes.size() + 600, 0x41); // beyond the 520-byte work buffer: read with a second call
        keyName.clear();
    }
    else if (shape < 78)
    {
        bytes.assign(random.Percent(50) ? 0 : 2, 0); // empty
        keyName.clear();
    }
    else if (shape < 84)
    {
        type = ValueType(random); // a language value of another type: its bytes are used all the same
        AppendUnits(bytes, std::wstring(1, L'\0'));
    }
    else
    {
        bytes = ValueData(random, type = ValueType(random)); // anything at all
        keyName.clear();
    }
    return bytes;
}

std::wstring FirstStringOf(const std::vector<BYTE>& bytes)
{
    // The probe reads the value whole, however long it is.
    const size_t units = bytes.size() / 2;
    std::wstring text(units, L'\0');
    for (size_t i = 0; i < units; ++i)
        text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return std::wstring(text.c_str());
}

void WriteOutlookClient(CRandom& random, HKEY mail, HostileCase& written)
{
    CRegKey client = CreateKey(mail, kOutlookClientName);
    if (!client)
        return;
    written.outlookClient = true;
    if (random.Percent(85))
        SetStringValue(client.Get(), L"MSIComponentID", HostileText(random, random.Between(0, 60), false));
    const wchar_t* paths[] = {L"DLLPath", L"DLLPathEx"};
    for (const wchar_t* name : paths)
    {
        const int shape = random.Between(0, 99);
        if (shape < 30)
            continue;
        if (shape < 50)
            SetStringValue(client.Get(), name, BuildFile(L"fixtures/mail/ex/MAPIEX.DLL"),
                           random.Percent(80) ? REG_SZ : REG_EXPAND_SZ);
        else
        {
            const DWORD type = random.Percent(70) ? REG_SZ : ValueType(random);
            SetRawValue(client.Get(), name, type, ValueData(random, type));
        }
    }
    std::vector<std::wstring> languageKeys;
    for (const wchar_t* name : {L"MSIApplicationLCID", L"MSIOfficeLCID"})
    {
        if (random.Percent(8))
            continue;
        DWORD type = REG_SZ;
        std::wstring keyName;
        const std::vector<BYTE> bytes = LanguageValue(random, type, keyName);
        SetRawValue(client.Get(), name, type, bytes);
        keyName = FirstStringOf(bytes);
        if (!keyName.empty())
            languageKeys.push_back(keyName);
    }
    WriteRandomValues(random, client.Get(), ValueCount(random), written);
    WriteNestedKeys(random, client.Get(), 1, written);

    for (const std::wstring& name : languageKeys)
    {
        if (name.compare(0, std::wcslen(kLanguageKeyStart), kLanguageKeyStart) != 0 || random.Percent(20))
            continue; // a language key that does not exist: logged, the run goes on
        CRegKey language = CreateKey(HKEY_CURRENT_USER, L"Software\\" + name);
        if (!language)
            continue;
        written.languageKeys = true;
        WriteRandomValues(random, language.Get(), ValueCount(random), written);
        WriteNestedKeys(random, language.Get(), 2, written);
    }
}

} // namespace

std::wstring HostileText(CRandom& random, int units, bool forKeyName)
{
    std::wstring text;
    while (static_cast<int>(text.size()) < units)
    {
        const int kind = random.Between(0, 99);
        wchar_t unit;
        if (kind < 30)
            unit = static_cast<wchar_t>(random.Percent(50) ? random.Between(L'a', L'z')
                                                           : random.Between(L'0', L'9'));
        else if (kind < 45)
            unit = PickFrom(random, kXmlSpecial);
        else if (kind < 55)
            unit = static_cast<wchar_t>(random.Between(1, 0x1F)); // control characters, tab and line ends too
        else if (kind < 62)
            unit = static_cast<wchar_t>(random.Between(0xD800, 0xDBFF)); // a lone high surrogate
        else if (kind < 69)
            unit = static_cast<wchar_t>(random.Between(0xDC00, 0xDFFF)); // a lone low surrogate
        else if (kind < 75 && static_cast<int>(text.size()) + 2 <= units)
        {
            text += static_cast<wchar_t>(random.Between(0xD800, 0xDBFF)); // a pair: one character
            unit = static_cast<wchar_t>(random.Between(0xDC00, 0xDFFF));
        }
        else if (kind < 80)
        {
            const wchar_t odd[] = {0xFFFE, 0xFFFF, 0xFFFD, 0x7F, 0x85, 0x2028};
            unit = odd[random.Below(6)];
        }
        else if (kind < 90)
            unit = static_cast<wchar_t>(random.Between(0x80, 0xD7FF));
        else if (kind < 97 || forKeyName)
            unit = PickFrom(random, kPunctuation);
        else
            unit = L'\\';
        text += unit;
    }
    text.resize(static_cast<size_t>(units));
    return text;
}

HostileCase WriteHostileRegistry(uint32_t seed)
{
    ClearProbedKeys();
    CRandom random(seed);
    HostileCase written;
    written.seed = seed;
    written.verbose = random.Percent(50);

    if (CRegKey mail = CreateKey(HKEY_LOCAL_MACHINE, kMailKey))
    {
        WriteRandomValues(random, mail.Get(), ValueCount(random), written);
        WriteNestedKeys(random, mail.Get(), 0, written);
        if (random.Percent(85))
            WriteOutlookClient(random, mail.Get(), written);
    }
    if (random.Percent(95))
    {
        if (CRegKey messaging = CreateKey(HKEY_LOCAL_MACHINE, kMessagingKey))
        {
            written.messagingKey = true;
            WriteRandomValues(random, messaging.Get(), ValueCount(random), written);
            WriteNestedKeys(random, messaging.Get(), 2, written);
        }
    }
    if (random.Percent(92))
    {
        if (CRegKey appPaths = CreateKey(HKEY_LOCAL_MACHINE, kAppPathsKey))
        {
            written.appPathsKey = true;
            const int shape = random.Between(0, 99);
            if (shape < 35)
                SetStringValue(appPaths.Get(), L"Path",
                               BuildFile(L"fixtures/mail/outlook") + L";" + HostileText(random, 10, false));
            else if (shape < 85)
            {
                const DWORD type = random.Percent(70) ? REG_SZ : ValueType(random);
                SetRawValue(appPaths.Get(), L"Path", type, ValueData(random, type));
            }
            WriteRandomValues(random, appPaths.Get(), ValueCount(random), written);
        }
    }
    return written;
}

} // namespace corvane::scale
