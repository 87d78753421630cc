#pragma once
// Indexes into the event image list that the system probes use for their rows.

namespace corvane::icon {

inline constexpr int Failure = 1;     // yellow warning triangle
inline constexpr int Placeholder = 3; // a probe at work
inline constexpr int Detail = 4;      // a verbose detail line
inline constexpr int ModuleVersion = 5;
inline constexpr int Summary = 7;
inline constexpr int Folder = 8;

} // namespace corvane::icon
