#pragma once

#include <functional>

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

namespace veltaro::e2e {

// Acts once on the first visible top-level widget with this object name, from a timer, so
// that it also acts inside a modal run (exec) that a test cannot return from by itself.
class WindowWatcher : public QObject {
    Q_OBJECT

  public:
    WindowWatcher(QString objectName, std::function<void(QWidget&)> act);
    bool Seen() const { return m_seen; }

  private:
    void Poll();

    QString m_name;
    std::function<void(QWidget&)> m_act;
    QTimer m_timer;
    bool m_seen = false;
};

// The rows of a report box (confirmation, summary), each as "heading: row".
QStringList ReportRows(QWidget& box);
// When $VELTARO_SHOT_DIR is set, saves a picture of the box there as `name`: on a real
// display (xcb, e.g. Xvfb) the part of the screen that shows the box and the main window
// behind it, elsewhere the box alone.
void SaveShot(QWidget& box, const QString& name);

// Presses the report box's OK (accept) or Cancel (reject).
void AnswerReport(QWidget& box, bool ok);

}  // namespace veltaro::e2e
