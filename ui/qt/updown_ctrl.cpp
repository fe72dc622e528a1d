#include "updown_ctrl.h"

#include <QToolButton>

#include "ui_texts.h"

namespace veltaro::ui {
namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow, const char* name,
                       const char* accessibleName) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromUtf8(accessibleName));
    return button;
}

}  // namespace

CUpDownCtrl::CUpDownCtrl(QWidget* parent)
    : QWidget(parent),
      m_up(MakeArrow(this, Qt::UpArrow, "up", text::kUpArrowName)),
      m_down(MakeArrow(this, Qt::DownArrow, "down", text::kDownArrowName)) {
    connect(m_up, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit Stepped(+1); });
}

void CUpDownCtrl::resizeEvent(QResizeEvent*) {
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight, width(), height() - upHeight);
}

}  // namespace veltaro::ui
