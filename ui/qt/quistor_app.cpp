#include "quistor_app.h"

#include "app_resources.h"
#include "quistor_dlg.h"

namespace veltaro::ui {

int CQuistorApp::InitInstance() {
    SetUpApplicationLook();
    CQuistorDlg dialog;
    dialog.exec();  // Enter, Esc and the close box all end the program
    return 0;
}

}  // namespace veltaro::ui
