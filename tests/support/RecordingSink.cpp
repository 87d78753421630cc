#include "tests/support/RecordingSink.h"

namespace corvane::test {

std::vector<EventRow> CRecordingSink::Rows() const
{
    std::vector<EventRow> rows;
    for (const EventRowData& row : CEventRecorder::Rows())
        rows.push_back({row.text, EventRowIcon(row.style), EventRowIndent(row.style)});
    return rows;
}

} // namespace corvane::test
