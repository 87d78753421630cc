#include "engine/ProgramBitness.h"

#include "probes/inventory/RegistryView.h"
#include "report/ReportVocabulary.h"

#include <windows.h>

namespace corvane {

const wchar_t* ProgramBitnessText()
{
#ifdef _WIN64
    return xml::Program64Bit;
#else
    return RunsUnderWow64() ? xml::Program32BitUnderWow64 : xml::Program32Bit;
#endif
}

} // namespace corvane
