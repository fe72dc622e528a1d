#pragma once

#include <QWidget>

class QToolButton;

namespace veltaro::ui {

// The up-down arrows beside the COM number edit: no buddy, no position of its own. Each
// press (and each auto-repeat while held) reports a step: the up arrow -1, the down arrow
// +1, as the platform's control does with its default, inverted range.
//
// Threads: user-interface thread only.
class CUpDownCtrl : public QWidget {
    Q_OBJECT

  public:
    explicit CUpDownCtrl(QWidget* parent = nullptr);

    QToolButton* UpArrow() const { return m_up; }
    QToolButton* DownArrow() const { return m_down; }

  signals:
    void Stepped(int delta);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* m_up;
    QToolButton* m_down;
};

}  // namespace veltaro::ui
