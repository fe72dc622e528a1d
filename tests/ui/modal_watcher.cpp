#include "modal_watcher.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QWidget>

namespace veltaro::ui::test {

ModalWatcher::ModalWatcher(std::function<void(QWidget&)> act, QWidget* ignore, int deadlineMs)
    : m_act(std::move(act)), m_ignore(ignore), m_deadlineMs(deadlineMs) {
    m_clock.start();
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::Poll);
    m_timer.start();
}

void ModalWatcher::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != m_ignore && !m_seen) {
        m_seen = true;
        m_act(*modal);
        return;
    }
    if (m_clock.elapsed() > m_deadlineMs && modal != nullptr) {
        m_timedOut = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
}

}  // namespace veltaro::ui::test

namespace veltaro::ui::test {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace veltaro::ui::test
