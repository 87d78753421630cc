#pragma once
// The bitness of this program and whether Windows runs it under WOW64, as the report's header names it.

namespace corvane {

// One of the report's program texts: "32-bit", "32-bit under WOW64" or "64-bit".
const wchar_t* ProgramBitnessText();

} // namespace corvane
