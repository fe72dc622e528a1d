#pragma once

#include <string>

#include <QObject>

#include "brenlow/notify.h"

class QWidget;

namespace veltaro::ui {

// Shows the serial link's own message boxes ("Cannot Open port", "Error while creating
// ThreadWatchComm" + port name): the text exactly, the reason as detailed text, an OK
// button and no icon, modal to the owner widget.
//
// Threads: ShowMessage may be called from any thread. On the user-interface thread it shows
// the box at once and returns when it is dismissed. From another thread (the watcher) it
// queues the box for the user-interface thread and returns at once: the watcher must not
// wait for the user, since the user-interface thread may at that moment be waiting for the
// watcher to end (ClosePort). A box still queued when this object goes is dropped.
class QtMessageBoxHook : public QObject, public CMessageBoxHook {
    Q_OBJECT

  public:
    // owner must outlive this object; it is the boxes' parent.
    explicit QtMessageBoxHook(QWidget& owner);

    void ShowMessage(const std::string& text, const std::string& detail) override;

  private:
    void Show(const QString& text, const QString& detail);

    QWidget& m_owner;
};

}  // namespace veltaro::ui
