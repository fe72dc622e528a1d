#pragma once

#include <vector>

#include "dialog_template.h"

class QButtonGroup;
class QWidget;

namespace veltaro::ui {

// A radio group: its first button's ID and the exclusive group whose button IDs are the
// positions 0, 1, ... in template order.
struct RadioGroup {
    int firstId;
    QButtonGroup* buttons;
};

struct BuiltControls {
    std::vector<QWidget*> widgets;  // template order
    std::vector<RadioGroup> radioGroups;

    // The group whose first button has this ID, or null.
    QButtonGroup* GroupOf(int firstId) const;
};

// Creates every control of the template as a child of dialog (which owns them), at the
// template's position converted to pixels, named as control_lookup.h says, with the
// template's radio groups, tab order and accessible names (accessible_names.h); sets the dialog's
// caption, font and client size. The font is NanumBarunGothic or NanumGothic (Debian's fonts-nanum;
// they also cover the Korean texts), else the system's sans-serif face, at the template's pixel
// size. Controls never move afterwards: the dialog has no layout.
//
// Threads: user-interface thread only.
BuiltControls BuildControls(QWidget& dialog, const DialogTemplate& tpl);

}  // namespace veltaro::ui
