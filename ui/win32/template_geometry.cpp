#include "template_geometry.h"

namespace veltaro::ui {

bool TemplateRectangle(HWND dialog, const ControlRow& row, RECT& rectangle) {
    RECT mapped{row.x, row.y, row.w, row.h};
    if (!MapDialogRect(dialog, &mapped)) {
        return false;
    }
    rectangle = {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
    return true;
}

bool KeepTemplateRectangle(HWND dialog, const ControlRow& row) {
    HWND control = GetDlgItem(dialog, row.id);
    RECT r{};
    return control != nullptr && TemplateRectangle(dialog, row, r) &&
           SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace veltaro::ui
