#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "dialog_template.h"

// Writes the dialog templates and the string table as a resource script for windres, from
// the same template table that the Qt build walks, so that the two front ends cannot drift.
namespace veltaro::ui {

// A UTF-8 text as a wide resource-script string: L"..." with every character outside
// printable ASCII, and the quote and backslash, as a \xHHHH escape of its UTF-16 unit.
[[nodiscard]] std::string WideRcString(std::string_view utf8);

// One DIALOGEX statement with its LANGUAGE line.
void WriteDialogResource(std::ostream& out, const DialogTemplate& dialog);

// Templates 102 and 100 and string 101.
void WriteDialogResources(std::ostream& out);

}  // namespace veltaro::ui
