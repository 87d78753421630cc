#pragma once
// The images of the event list, in the order of the strip drawn from res/icons/ (NN_name.txt is image
// NN). Rows name their image by what it shows; what it stands for is said where a row is written.

namespace corvane {

enum class EventIcon : int
{
    Info = 0,          // the run's start and end
    Warning = 1,       // a failure
    GearArrow = 2,     // not used by the probes
    GemMoving = 3,     // a probe at work
    Gem = 4,           // a verbose detail
    GemPage = 5,       // a module's version information, the saved report
    PageCheck = 6,     // a section's title
    Monitor = 7,       // a probe's summary
    WindowGrid = 8,    // a folder or a path
    Cubes = 9,         // a registry key
    FolderClosed = 10, // a subkey
    FolderOpen = 11,
    // One image for each registry value type from REG_NONE to REG_QWORD, then REG_MUI_SZ's.
    None = 12,
    Sz = 13,
    ExpandSz = 14,
    Binary = 15,
    Dword = 16,
    DwordBigEndian = 17,
    Link = 18,
    MultiSz = 19,
    ResourceList = 20,
    FullResource = 21,
    ResourceRequirements = 22,
    Qword = 23,
    MuiSz = 24,
    // A finding, by its severity.
    FindingError = 25,
    FindingWarning = 26,
    FindingInformation = 27,
};

} // namespace corvane
