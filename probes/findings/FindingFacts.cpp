#include "probes/findings/FindingFacts.h"

namespace corvane {

const wchar_t* BitnessText(Bitness bitness)
{
    return bitness == Bitness::X64 ? L"64-bit" : L"32-bit";
}

const wchar_t* BitnessSourceText(BitnessSource source)
{
    switch (source)
    {
    case BitnessSource::ClickToRunPlatform:
        return L"Click-to-Run Platform";
    case BitnessSource::MsiBitness:
        return L"Outlook Bitness";
    case BitnessSource::ExecutableMachine:
        return L"OUTLOOK.EXE machine";
    }
    return L"";
}

} // namespace corvane
