#pragma once
// The engine's sink for tests without a window: the rows, status text, progress and running state as
// they would be shown.

#include "engine/EventRecorder.h"

#include <string>
#include <vector>

namespace corvane::test {

struct EventRow
{
    std::wstring text;
    int icon;
    int indent;

    bool operator==(const EventRow&) const = default;
};

class CRecordingSink : public CEventRecorder
{
public:
    std::vector<EventRow> Rows() const;
};

} // namespace corvane::test
