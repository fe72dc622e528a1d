#include "about_menu_item.h"

#include <cwctype>
#include <iterator>

#include "hangul_font.h"
#include "resource_ids.h"

namespace veltaro::ui {
namespace {

HFONT MenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return nullptr;
    }
    return CreateFontIndirectW(&metrics.lfMenuFont);
}

}  // namespace

AboutMenuItem::~AboutMenuItem() {
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
}

bool AboutMenuItem::Add(HWND window, HINSTANCE instance) {
    HMENU menu = GetSystemMenu(window, FALSE);
    wchar_t text[128] = {};
    if (menu == nullptr ||
        LoadStringW(instance, res::kAboutMenuText, text, static_cast<int>(std::size(text))) <= 0) {
        return false;
    }
    m_text = text;
    HFONT menuFont = MenuFont();
    m_font = CreateFontFor(menuFont, Shown());
    if (menuFont != nullptr) {
        DeleteObject(menuFont);
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    if (m_font != nullptr) {
        return AppendMenuW(menu, MF_OWNERDRAW, res::kAboutCommand, nullptr) != FALSE;
    }
    return AppendMenuW(menu, MF_STRING, res::kAboutCommand, m_text.c_str()) != FALSE;
}

std::wstring AboutMenuItem::Shown() const {
    std::wstring shown;
    for (std::size_t i = 0; i < m_text.size(); ++i) {
        if (m_text[i] == L'&' && i + 1 < m_text.size()) {
            ++i;
        }
        shown.push_back(m_text[i]);
    }
    return shown;
}

bool AboutMenuItem::Measure(HWND window, MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || item.itemID != res::kAboutCommand || m_font == nullptr) {
        return false;
    }
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return false;
    }
    HGDIOBJ previous = SelectObject(dc, m_font);
    SIZE size{};
    const std::wstring shown = Shown();
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    // Room for the check-mark column on the left, as the menu gives its string items.
    item.itemWidth = static_cast<UINT>(size.cx + 2 * GetSystemMetrics(SM_CXMENUCHECK));
    item.itemHeight = static_cast<UINT>(size.cy + 6);
    return true;
}

bool AboutMenuItem::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || item.itemID != res::kAboutCommand || m_font == nullptr) {
        return false;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const COLORREF oldText =
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(item.hDC, m_font);
    RECT text = item.rcItem;
    text.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
    const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextW(item.hDC, m_text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
    SelectObject(item.hDC, oldFont);
    SetBkMode(item.hDC, oldMode);
    SetTextColor(item.hDC, oldText);
    return true;
}

LRESULT AboutMenuItem::MenuChar(wchar_t key, HMENU menu) const {
    const std::size_t amp = m_text.find(L'&');
    if (m_font == nullptr || amp == std::wstring::npos || amp + 1 >= m_text.size() ||
        std::towlower(m_text[amp + 1]) != std::towlower(key)) {
        return -1;
    }
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == res::kAboutCommand) {
            return MAKELRESULT(i, MNC_EXECUTE);
        }
    }
    return -1;
}

}  // namespace veltaro::ui
