#include "message_box_hook.h"

#include <QMessageBox>
#include <QThread>

#include "ui_texts.h"

namespace veltaro::ui {

QtMessageBoxHook::QtMessageBoxHook(QWidget& owner) : m_owner(owner) {}

void QtMessageBoxHook::ShowMessage(const std::string& text, const std::string& detail) {
    const QString boxText = QString::fromStdString(text);
    const QString boxDetail = QString::fromStdString(detail);
    if (QThread::currentThread() == thread()) {
        Show(boxText, boxDetail);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, boxText, boxDetail] { Show(boxText, boxDetail); }, Qt::QueuedConnection);
}

void QtMessageBoxHook::Show(const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(text::kLinkBoxTitle), text,
                    QMessageBox::Ok, &m_owner);
    box.setObjectName(QStringLiteral("linkMessageBox"));
    if (!detail.isEmpty()) {
        box.setDetailedText(detail);
    }
    box.exec();
}

}  // namespace veltaro::ui
