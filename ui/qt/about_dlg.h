#pragma once

#include <QDialog>

namespace veltaro::ui {

// The About box on template 100: the application icon, the version line, a further line
// and the OK button "확인", which closes it. Fixed size; one modal run per request.
class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace veltaro::ui
