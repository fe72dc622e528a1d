#pragma once

// The settings table lives in the console layer, which the programs' Save and Apply share.
#include "veltaro/console/setting_keys.h"

namespace veltaro::cli {

using console::ChoiceName;
using console::FindJsonKey;
using console::FindKey;
using console::KeyRow;
using console::KeyTable;
using console::PeriodUnitNames;
using console::RowOf;
using console::SetItem;
using console::SetKey;
using console::ValueKind;

}  // namespace veltaro::cli
