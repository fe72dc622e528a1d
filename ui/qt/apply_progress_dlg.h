#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace veltaro::ui {

// The progress of a run of Apply: which setting is being sent, how many are left, and a
// Cancel button. Closing it (close box, Esc) is the same as Cancel. It only asks: the owner
// cancels the run and closes the box when the run has ended.
class CApplyProgressDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CApplyProgressDlg(QWidget* parent);

    void ShowStep(const QString& what, int done, int count);
    void ShowCancelling();
    // Closes the box for good once the run has ended.
    void Finish();

  signals:
    void CancelRequested();

  protected:
    void reject() override;  // Esc and the close box

  private:
    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_finished = false;
};

}  // namespace veltaro::ui
