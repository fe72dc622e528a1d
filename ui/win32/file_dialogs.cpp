#include "file_dialogs.h"

#include <commdlg.h>

#include <vector>

namespace veltaro::ui {
namespace {

// Pairs of description and pattern, each ended by a 0, the list by another.
constexpr wchar_t kFilter[] = L"Veltaro profiles (*.json)\0*.json\0All files (*.*)\0*.*\0";
constexpr DWORD kPathChars = 32768;  // room for a long (\\?\) path

OPENFILENAMEW Request(HWND owner, const std::wstring& folder, std::vector<wchar_t>& buffer) {
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kFilter;
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrDefExt = L"json";
    return request;
}

}  // namespace

std::wstring Win32FileDialogs::AskSavePath(HWND owner, const std::wstring& folder,
                                           const std::wstring& name) {
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    name.copy(buffer.data(), std::min<std::size_t>(name.size(), kPathChars - 1));
    OPENFILENAMEW request = Request(owner, folder, buffer);
    request.lpstrTitle = L"Save settings to file";
    request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    return GetSaveFileNameW(&request) ? std::wstring(buffer.data()) : std::wstring();
}

std::wstring Win32FileDialogs::AskOpenPath(HWND owner, const std::wstring& folder) {
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    OPENFILENAMEW request = Request(owner, folder, buffer);
    request.lpstrTitle = L"Apply settings from file";
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    return GetOpenFileNameW(&request) ? std::wstring(buffer.data()) : std::wstring();
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace veltaro::ui
