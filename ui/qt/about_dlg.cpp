#include "about_dlg.h"

#include <QPushButton>

#include "app_resources.h"
#include "control_lookup.h"
#include "dialog_builder.h"

namespace veltaro::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(AppIcon());
    (void)BuildControls(*this, AboutDialogTemplate());
    setFixedSize(size());
    if (auto* ok = qobject_cast<QPushButton*>(FindControl(*this, 1))) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
}

}  // namespace veltaro::ui
