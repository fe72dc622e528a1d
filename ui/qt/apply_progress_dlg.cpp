#include "apply_progress_dlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_resources.h"
#include "ui_texts.h"

namespace veltaro::ui {

CApplyProgressDlg::CApplyProgressDlg(QWidget* parent)
    : QDialog(parent),
      m_label(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("applyProgress"));
    setWindowTitle(QString::fromUtf8(text::kApplyingTitle));
    setWindowIcon(AppIcon());
    setWindowModality(Qt::WindowModal);
    m_label->setObjectName(QStringLiteral("progressText"));
    m_label->setWordWrap(true);
    m_label->setMinimumHeight(2 * m_label->fontMetrics().height());
    m_cancel->setObjectName(QStringLiteral("progressCancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, &CApplyProgressDlg::reject);
    setMinimumWidth(460);
}

void CApplyProgressDlg::ShowStep(const QString& what, int done, int count) {
    m_label->setText(what);
    m_bar->setRange(0, count);
    m_bar->setValue(done);
}

void CApplyProgressDlg::ShowCancelling() {
    m_label->setText(QString::fromUtf8(text::kCancelling));
    m_cancel->setEnabled(false);
}

void CApplyProgressDlg::Finish() {
    m_finished = true;
    QDialog::reject();
}

void CApplyProgressDlg::reject() {
    if (m_finished) {
        QDialog::reject();
        return;
    }
    // The box stays until the command in flight has finished its keys.
    emit CancelRequested();
}

}  // namespace veltaro::ui
