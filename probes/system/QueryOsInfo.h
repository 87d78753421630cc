#pragma once
// The operating system record of the running system: version service, registry and locale services.

#include "probes/system/OsInfo.h"

namespace corvane {

// Fills info, whose size the caller has set. E_INVALIDARG for a null record or one smaller than
// OsInfo; the version service's failure when it gives no record (info is then left as it was);
// S_OK otherwise, whatever the later registry and locale look-ups find.
HRESULT QueryOsInfo(OsInfo* info);

} // namespace corvane
