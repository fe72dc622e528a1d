#include "color_button.h"

#include <QPainter>

#include "control_lookup.h"

namespace veltaro::ui {

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {}

CColorButton* CColorButton::AttachDlgItem(int id, QWidget& parent) {
    auto* button = qobject_cast<CColorButton*>(FindControl(parent, id));
    if (button == nullptr) {
        return nullptr;
    }
    button->m_look = ColorButtonLook{};
    button->m_bound = true;
    button->update();
    return button;
}

void CColorButton::SetColors(COLORREF text, COLORREF fill, COLORREF disabledText) {
    m_look.text = text;
    m_look.fill = fill;
    m_look.disabledText = disabledText;
    update();
}

ButtonState CColorButton::CurrentState() const {
    return ButtonState{isDown(), !isEnabled(), hasFocus()};
}

void CColorButton::paintEvent(QPaintEvent*) {
    if (!m_bound || width() <= 0 || height() <= 0) {
        return;
    }
    QImage face(size(), QImage::Format_RGB32);
    DrawColorButton(face, text(), font(), CurrentState(), m_look);
    QPainter painter(this);
    painter.drawImage(0, 0, face);
}

}  // namespace veltaro::ui
