// Veltaro for Windows: one modal dialog; the program ends when it closes.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "quistor_dlg.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    if (!InitCommonControlsEx(&controls)) {
        return 1;
    }
    veltaro::ui::CQuistorDlg dialog(instance);
    return dialog.DoModal() < 0 ? 1 : 0;
}
