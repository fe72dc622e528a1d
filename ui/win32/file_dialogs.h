#pragma once

#include <windows.h>

#include <string>

namespace veltaro::ui {

// Where Save and Apply ask for a file: the platform's own dialogs, or a test's answers. An
// empty result means the user cancelled. User-interface thread only.
class ProfileFileDialogs {
  public:
    virtual ~ProfileFileDialogs() = default;
    // folder: the last folder used (empty: the system's choice); name: the suggested name.
    virtual std::wstring AskSavePath(HWND owner, const std::wstring& folder,
                                     const std::wstring& name) = 0;
    virtual std::wstring AskOpenPath(HWND owner, const std::wstring& folder) = 0;
};

// GetSaveFileNameW and GetOpenFileNameW.
class Win32FileDialogs : public ProfileFileDialogs {
  public:
    std::wstring AskSavePath(HWND owner, const std::wstring& folder,
                             const std::wstring& name) override;
    std::wstring AskOpenPath(HWND owner, const std::wstring& folder) override;
};

// The folder part of a path ("C:\a\b.json" gives "C:\a").
std::wstring FolderOf(const std::wstring& path);

}  // namespace veltaro::ui
