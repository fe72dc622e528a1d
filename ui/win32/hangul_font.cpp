#include "hangul_font.h"

#include <cwchar>
#include <vector>

namespace veltaro::ui {
namespace {

// Korean faces, best first: Windows' own, then those common on Linux systems under Wine.
constexpr const wchar_t* kKoreanFaces[] = {
    L"Malgun Gothic",    L"Gulim",   L"NanumBarunGothic", L"NanumGothic",
    L"Noto Sans CJK KR", L"UnDotum",
};

}  // namespace

bool IsTextControl(HWND control) {
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    if (lstrcmpiW(cls, L"Static") != 0) {
        return true;
    }
    const auto type = static_cast<unsigned>(GetWindowLongW(control, GWL_STYLE)) & SS_TYPEMASK;
    return type != SS_ICON && type != SS_BITMAP;
}

bool FontHasGlyphs(HFONT font, const std::wstring& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return true;  // nothing to learn; keep what there is
    }
    HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    std::vector<WORD> glyphs(text.size() + 1, 0);
    const DWORD found = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                                         glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, previous);
    DeleteDC(dc);
    if (found == GDI_ERROR) {
        return true;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (glyphs[i] == 0xFFFF) {
            return false;
        }
    }
    return true;
}

HFONT CreateFontFor(HFONT like, const std::wstring& text) {
    if (FontHasGlyphs(like, text)) {
        return nullptr;
    }
    LOGFONTW look{};
    if (like == nullptr || GetObjectW(like, sizeof look, &look) == 0) {
        look.lfHeight = -12;
        look.lfWeight = FW_NORMAL;
    }
    look.lfCharSet = HANGUL_CHARSET;
    for (const wchar_t* face : kKoreanFaces) {
        wcsncpy(look.lfFaceName, face, LF_FACESIZE - 1);
        HFONT candidate = CreateFontIndirectW(&look);
        if (candidate != nullptr && FontHasGlyphs(candidate, text)) {
            return candidate;
        }
        if (candidate != nullptr) {
            DeleteObject(candidate);
        }
    }
    return nullptr;
}

}  // namespace veltaro::ui
