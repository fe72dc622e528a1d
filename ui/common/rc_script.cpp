#include "rc_script.h"

#include <cstdint>
#include <cstdio>

#include "resource_ids.h"
#include "ui_texts.h"

namespace veltaro::ui {
namespace {

constexpr unsigned kChildVisible = 0x50000000u;  // WS_CHILD | WS_VISIBLE
constexpr unsigned kGroup = 0x00020000u;         // WS_GROUP
constexpr unsigned kTabStop = 0x00010000u;       // WS_TABSTOP
constexpr unsigned kExStaticEdge = 0x00020000u;  // WS_EX_STATICEDGE

struct ClassStyle {
    ControlClass cls;
    const char* windowClass;
    unsigned style;  // beyond WS_CHILD | WS_VISIBLE
};

// BS_AUTORADIOBUTTON, ES_AUTOHSCROLL, ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
// WS_VSCROLL, BS_OWNERDRAW, BS_DEFPUSHBUTTON, UDS_ARROWKEYS, SS_LEFT, BS_GROUPBOX, SS_BITMAP,
// SS_ICON.
constexpr ClassStyle kClassStyles[] = {
    {ControlClass::kAutoRadio, "Button", 0x0009u},
    {ControlClass::kEdit, "Edit", 0x0080u | 0x00800000u},
    {ControlClass::kLogEdit, "Edit", 0x0004u | 0x0800u | 0x0080u | 0x00200000u},
    {ControlClass::kOwnerDrawButton, "Button", 0x000Bu},
    {ControlClass::kDefPushButton, "Button", 0x0001u},
    {ControlClass::kUpDown, "msctls_updown32", 0x0020u},
    {ControlClass::kStaticText, "Static", 0x0000u},
    {ControlClass::kGroupBox, "Button", 0x0007u},
    {ControlClass::kBitmap, "Static", 0x000Eu},
    {ControlClass::kIcon, "Static", 0x0003u},
};

struct FlagStyle {
    ControlStyle flag;
    unsigned style;
};

// ES_CENTER and SS_CENTER are one bit; SS_CENTERIMAGE, ES_UPPERCASE, SS_NOPREFIX.
constexpr FlagStyle kFlagStyles[] = {
    {kCentered, 0x0001u},
    {kVCentered, 0x0200u},
    {kUpperCase, 0x0008u},
    {kNoPrefix, 0x0080u},
};

const ClassStyle& StyleOf(ControlClass cls) {
    for (const ClassStyle& entry : kClassStyles) {
        if (entry.cls == cls) {
            return entry;
        }
    }
    return kClassStyles[0];
}

unsigned ControlStyleBits(const ControlRow& row) {
    unsigned style = kChildVisible | StyleOf(row.cls).style;
    for (const FlagStyle& entry : kFlagStyles) {
        if ((row.style & entry.flag) != 0) {
            style |= entry.style;
        }
    }
    return style | (row.groupStart ? kGroup : 0) | (row.tabStop ? kTabStop : 0);
}

// The caption field: pictures name their resource by number.
std::string ControlText(const ControlRow& row) {
    if (row.cls == ControlClass::kBitmap) {
        return std::to_string(res::kLogoBitmap);
    }
    if (row.cls == ControlClass::kIcon) {
        return std::to_string(res::kAppIcon);
    }
    return WideRcString(row.caption);
}

std::string Hex(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

void AppendUnit(std::string& out, std::uint32_t unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%04X", static_cast<unsigned>(unit));
    out += buffer;
}

}  // namespace

std::string WideRcString(std::string_view utf8) {
    std::string out = "L\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        std::uint32_t code = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (code >= 0x20 && code < 0x7F && code != '"' && code != '\\') {
            out += static_cast<char>(code);
        } else if (code > 0xFFFF) {
            AppendUnit(out, 0xD800 + ((code - 0x10000) >> 10));
            AppendUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            AppendUnit(out, code);
        }
    }
    return out + "\"";
}

void WriteDialogResource(std::ostream& out, const DialogTemplate& dialog) {
    const WindowsTemplate& win = dialog.windows;
    out << "LANGUAGE " << win.language << ", " << win.sublanguage << "\n"
        << win.resourceId << " DIALOGEX 0, 0, " << dialog.w << ", " << dialog.h << "\n"
        << "STYLE " << Hex(win.style) << "\n"
        << "EXSTYLE " << Hex(win.exStyle) << "\n"
        << "CAPTION " << WideRcString(dialog.caption) << "\n"
        << "FONT " << win.fontPoints << ", " << WideRcString(win.fontFace) << ", 400, 0, 1\n"
        << "BEGIN\n";
    for (const ControlRow& row : dialog.controls) {
        out << "    CONTROL " << ControlText(row) << ", " << row.id << ", \""
            << StyleOf(row.cls).windowClass << "\", " << Hex(ControlStyleBits(row)) << ", " << row.x
            << ", " << row.y << ", " << row.w << ", " << row.h << ", "
            << Hex((row.style & kStaticEdge) != 0 ? kExStaticEdge : 0) << "\n";
    }
    out << "END\n\n";
}

void WriteDialogResources(std::ostream& out) {
    out << "// Generated from the dialog template table (ui/common). Do not edit.\n\n";
    WriteDialogResource(out, MainDialogTemplate());
    WriteDialogResource(out, AboutDialogTemplate());
    out << "STRINGTABLE\nBEGIN\n    " << res::kAboutMenuText << ", "
        << WideRcString(text::kAboutMenuItem) << "\nEND\n";
}

}  // namespace veltaro::ui
