#pragma once

#include "dialog_builder.h"
#include "veltaro/console/settings_form.h"

class QWidget;

// The settings form's exchange with the main dialog's controls.
namespace veltaro::ui {

// Form read: every value from its control; a radio group with no checked button reads -1.
[[nodiscard]] console::SettingsForm ReadSettingsForm(QWidget& dialog,
                                                     const BuiltControls& controls);

// Form write: every value into its control. An edit whose text already equals the value is
// left alone (its caret and selection stay); a radio index outside its group checks no
// button. Writing sets texts directly, which raises no user-edit signal, so the field
// checks (hooked to user edits only) do not run.
void WriteSettingsForm(QWidget& dialog, const BuiltControls& controls,
                       const console::SettingsForm& form);

}  // namespace veltaro::ui
