#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace veltaro::ui::test {

// Acts on the next modal widget that appears while events are processed, so that a test can
// start a modal run (exec) and still go on: act typically inspects the widget and closes it.
// Whatever is still modal when the deadline passes is closed, so no test hangs on a box.
class ModalWatcher : public QObject {
    Q_OBJECT

  public:
    // ignore: a modal widget that is already running and is not the one to act on.
    explicit ModalWatcher(std::function<void(QWidget&)> act, QWidget* ignore = nullptr,
                          int deadlineMs = 5000);

    bool Seen() const { return m_seen; }
    bool TimedOut() const { return m_timedOut; }

  private:
    void Poll();

    std::function<void(QWidget&)> m_act;
    QPointer<QWidget> m_ignore;
    int m_deadlineMs;
    QElapsedTimer m_clock;
    QTimer m_timer;
    bool m_seen = false;
    bool m_timedOut = false;
};

}  // namespace veltaro::ui::test

namespace veltaro::ui::test {

// Processes events until done() holds or timeoutMs pass; returns done(). (Qt Test's QTRY
// macros report through Qt Test, which GoogleTest does not see.)
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace veltaro::ui::test
