#pragma once
// The registry's product type, for systems whose version record lacks the extended fields.

#include "probes/system/OsInfo.h"

namespace corvane {

// Reads "ProductType" below HKLM\SYSTEM\CurrentControlSet\Control\ProductOptions and sets
// info->product_type (and info->suites for "SERVERNT") from it; an unknown value changes nothing.
// Returns 1 when the value was read, else 0.
int QueryProductOptions(OsInfo* info);

} // namespace corvane
