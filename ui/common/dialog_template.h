#pragma once

#include <span>

// A dialog template as data: the controls of a dialog in template order (which is also the
// tab order and the order the radio groups follow), with positions in dialog units. One
// builder (dialog_builder.h) turns a template into widgets.
namespace veltaro::ui {

enum class ControlClass {
    kAutoRadio,        // auto radio button
    kEdit,             // single-line edit
    kLogEdit,          // multi-line, read-only edit with a vertical scroll bar
    kOwnerDrawButton,  // push button painted by CColorButton
    kDefPushButton,    // default push button
    kUpDown,           // up-down arrows without buddy
    kStaticText,       // text label
    kGroupBox,         // frame around radio buttons
    kBitmap,           // picture; the caption names the image resource
    kIcon,             // icon; the caption names the icon resource
};

// Style flags beyond the class.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kCentered = 1u << 0,    // centred text
    kVCentered = 1u << 1,   // vertically centred text
    kUpperCase = 1u << 2,   // the edit turns letters to capitals
    kStaticEdge = 1u << 3,  // one-pixel sunken edge
    kNoPrefix = 1u << 4,    // '&' is shown, not a mnemonic
    kSendable = 1u << 5,    // the edit's text goes to the modem: sendable characters only
};

inline constexpr int kNoId = -1;

struct ControlRow {
    int id;  // kNoId for a control without ID
    ControlClass cls;
    unsigned style;       // ControlStyle flags
    const char* caption;  // UTF-8; resource path for kBitmap and kIcon
    int x, y, w, h;       // dialog units
    bool groupStart;      // starts a group (radio groups end at the next group start)
    bool tabStop;
};

// What the platform's own dialog resource adds to the controls.
struct WindowsTemplate {
    int resourceId;        // template number
    unsigned style;        // window style, without the font flag
    unsigned exStyle;      // extended window style
    const char* fontFace;  // UTF-8
    int fontPoints;        // font size in points
    int language;          // primary language identifier
    int sublanguage;       // sublanguage identifier
};

struct DialogTemplate {
    const char* caption;
    int w, h;        // client size in dialog units
    int fontPixels;  // font size in pixels (dialog_builder.h says which face)
    std::span<const ControlRow> controls;
    WindowsTemplate windows;
};

// Template 102: the main dialog.
const DialogTemplate& MainDialogTemplate();
// Template 100: the About box.
const DialogTemplate& AboutDialogTemplate();

}  // namespace veltaro::ui
