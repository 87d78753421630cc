#include "engine/ReportData.h"

namespace corvane {

bool CReportData::StopRequested()
{
    if (!stopSeen && stopEvent.TakeSignal())
        stopSeen = true;
    return stopSeen;
}

} // namespace corvane
