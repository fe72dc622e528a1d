#include "logo_picture.h"

#include "resource_ids.h"
#include "template_geometry.h"

namespace veltaro::ui {
namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}

// Bitmap 142 where the picture is no wider than it, its finer companion above that.
HBITMAP LoadSource(HINSTANCE instance, int width) {
    if (width > res::kLogoWidth) {
        if (auto large =
                static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(res::kLogoBitmapLarge),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
            return large;
        }
    }
    return static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(res::kLogoBitmap),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

LogoPicture::~LogoPicture() {
    if (m_bitmap != nullptr) {
        DeleteObject(m_bitmap);
    }
}

HBITMAP LogoPicture::Scaled(HINSTANCE instance, int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    HBITMAP source = LoadSource(instance, width);
    const SIZE sourceSize = BitmapSize(source);
    HDC screen = GetDC(nullptr);
    HBITMAP scaled = source != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    if (scaled != nullptr && from != nullptr && to != nullptr) {
        const HGDIOBJ oldFrom = SelectObject(from, source);
        const HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, sourceSize.cx, sourceSize.cy, SRCCOPY);
        SelectObject(to, oldTo);
        SelectObject(from, oldFrom);
    }
    DeleteDC(to);
    DeleteDC(from);
    ReleaseDC(nullptr, screen);
    DeleteObject(source);
    return scaled;
}

bool LogoPicture::Fit(HWND dialog, HINSTANCE instance, const ControlRow& row) {
    HWND picture = GetDlgItem(dialog, row.id);
    RECT frame{};
    if (picture == nullptr || !TemplateRectangle(dialog, row, frame)) {
        return false;
    }
    // The frame's static edge takes its part of the rectangle; the logo fills the rest.
    RECT window{0, 0, 0, 0};
    RECT inside{0, 0, 0, 0};
    GetWindowRect(picture, &window);
    GetClientRect(picture, &inside);
    const int edgeX = (window.right - window.left) - inside.right;
    const int edgeY = (window.bottom - window.top) - inside.bottom;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HBITMAP scaled = Scaled(instance, width - edgeX, height - edgeY);
    if (scaled == nullptr) {
        return false;
    }
    const auto previous = reinterpret_cast<HBITMAP>(
        SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled)));
    // The control sizes itself to a new image: the template's rectangle is set after it.
    (void)KeepTemplateRectangle(dialog, row);
    if (previous != nullptr && previous != m_bitmap) {
        DeleteObject(previous);  // the one the control loaded from the template
    }
    if (m_bitmap != nullptr && m_bitmap != scaled) {
        DeleteObject(m_bitmap);
    }
    m_bitmap = scaled;
    return true;
}

}  // namespace veltaro::ui
