#include "dialog_driver.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QThread>

#include "modal_watcher.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::e2e {
namespace {

constexpr int kShowTimeoutMs = 5000;

}  // namespace

DialogDriver::DialogDriver() : m_dialog(std::make_unique<ui::CQuistorDlg>()) {
    m_dialog->show();
    m_shown = QTest::qWaitForWindowExposed(m_dialog.get(), kShowTimeoutMs);
    if (m_shown) {
        m_dialog->activateWindow();
        m_shown = QTest::qWaitForWindowActive(m_dialog.get(), kShowTimeoutMs);
    }
}

// Closes a port that is still open (the dialog's destructor joins the watcher) before the
// widgets go.
DialogDriver::~DialogDriver() = default;

QWidget* DialogDriver::Control(int id) {
    return m_dialog->Control(id);
}

bool DialogDriver::IsEnabled(int id) {
    QWidget* control = Control(id);
    return control != nullptr && control->isEnabled();
}

bool DialogDriver::IsChecked(int radioId) {
    auto* radio = qobject_cast<QAbstractButton*>(Control(radioId));
    return radio != nullptr && radio->isChecked();
}

void DialogDriver::Type(int editId, const QString& text) {
    QWidget* edit = Control(editId);
    if (edit == nullptr) {
        return;
    }
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(edit, text);
    }
}

void DialogDriver::Click(int id) {
    if (QWidget* control = Control(id)) {
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
    }
}

void DialogDriver::Open(int com) {
    Type(console::ctl::kComNumber, QString::number(com));
    Click(console::ctl::kOpen);
}

QString DialogDriver::EditText(int id) {
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    return edit != nullptr ? edit->text() : QString();
}

QString DialogDriver::LabelText(int id) {
    auto* label = qobject_cast<QLabel*>(Control(id));
    return label != nullptr ? label->text() : QString();
}

QString DialogDriver::Caption() {
    return m_dialog->windowTitle();
}

std::string DialogDriver::LogText() {
    auto* log = qobject_cast<QPlainTextEdit*>(Control(console::ctl::kLog));
    return log != nullptr ? log->toPlainText().toLatin1().toStdString() : std::string();
}

int DialogDriver::CountLogLines(const QString& line) {
    auto* log = qobject_cast<QPlainTextEdit*>(Control(console::ctl::kLog));
    if (log == nullptr) {
        return 0;
    }
    return static_cast<int>(log->toPlainText().split(QLatin1Char('\n')).count(line));
}

bool DialogDriver::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    return ui::test::WaitUntil(done, timeoutMs);
}

void DialogDriver::Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

}  // namespace veltaro::e2e
