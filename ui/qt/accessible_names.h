#pragma once

#include "dialog_builder.h"
#include "dialog_template.h"

class QWidget;

namespace veltaro::ui {

// Gives every control built from tpl an accessible name, so that screen readers and
// accessibility-based automation can find and read it. Names come from the template's own
// captions:
// - push buttons and radio buttons: their caption (a mnemonic '&' left out);
// - an edit or up-down control: its label, the nearest captioned static text or push button
//   in line with it and to its left ("COM PORT", "Channel Setting", ...);
// - a radio group: its label, found the same way on either side, a static text before a
//   push button ("Data Bit", "PC/Device Mode Setting", ...); the group's frame takes the
//   name and each of its radio buttons takes it as description;
// - the log pane: "Console log"; pictures: what they show.
// Static texts keep Qt's own name, their text, which follows the text as it changes.
void NameControlsForAccessibility(const DialogTemplate& tpl, const BuiltControls& built);

}  // namespace veltaro::ui
