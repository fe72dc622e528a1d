#pragma once

#include <windows.h>

#include <string>

// The Korean texts (the About box, its system-menu item) need a face with Hangul. A system
// whose ANSI code page is not 949 may have none linked to the dialog's or the menu's face
// (Wine never links one there), so where the face lacks the glyphs a Korean face of the
// same height is taken instead.
namespace veltaro::ui {

// True when `font` (null: the system font) has a glyph for every character of `text`.
bool FontHasGlyphs(HFONT font, const std::wstring& text);

// True for a control that shows its window text (not a picture: an icon or bitmap static
// keeps its resource number as text).
bool IsTextControl(HWND control);

// A font like `like` (its height and weight) that draws `text`: null when `like` already
// draws it or no Korean face does. The caller deletes a returned font.
HFONT CreateFontFor(HFONT like, const std::wstring& text);

}  // namespace veltaro::ui
