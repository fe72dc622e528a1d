#include "window_watcher.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace veltaro::e2e {

WindowWatcher::WindowWatcher(QString objectName, std::function<void(QWidget&)> act)
    : m_name(std::move(objectName)), m_act(std::move(act)) {
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &WindowWatcher::Poll);
    m_timer.start();
}

void WindowWatcher::Poll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!m_seen && widget->isVisible() && widget->objectName() == m_name) {
            m_seen = true;
            m_timer.stop();
            m_act(*widget);
            return;
        }
    }
}

QStringList ReportRows(QWidget& box) {
    QStringList rows;
    for (QListWidget* list : box.findChildren<QListWidget*>(QStringLiteral("reportRows"))) {
        const QString heading = list->property("heading").toString();
        for (int i = 0; i < list->count(); ++i) {
            rows << heading + QStringLiteral(": ") + list->item(i)->text();
        }
    }
    return rows;
}

void SaveShot(QWidget& box, const QString& name) {
    const QString dir = qEnvironmentVariable("VELTARO_SHOT_DIR");
    if (dir.isEmpty()) {
        return;
    }
    QDir().mkpath(dir);
    QApplication::processEvents();  // the box's first paint
    QPixmap shot;
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        QRect area = box.frameGeometry();
        if (QWidget* main =
                box.parentWidget() != nullptr ? box.parentWidget()->window() : nullptr) {
            area = area.united(main->frameGeometry());
        }
        shot = box.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    } else {
        shot = box.grab();
    }
    shot.save(QDir(dir).filePath(name));
}

void AnswerReport(QWidget& box, bool ok) {
    if (auto* dialog = qobject_cast<QDialog*>(&box)) {
        ok ? dialog->accept() : dialog->reject();
    }
}

}  // namespace veltaro::e2e
