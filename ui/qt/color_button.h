#pragma once

#include <QPushButton>

#include "color_button_draw.h"

namespace veltaro::ui {

// A push button of a dialog template painted by the program: face colour, bevelled frame,
// caption, pressed, disabled and focus looks (color_button_draw.h). Clicks, enabling and
// the caption stay the base button's. Until it is bound with AttachDlgItem it paints
// nothing of its own, as an owner-drawn button that nobody draws.
//
// Threads: user-interface thread only.
class CColorButton : public QPushButton {
    Q_OBJECT

  public:
    explicit CColorButton(QWidget* parent = nullptr);

    // Binds the colour button with this control ID among parent's children and gives it
    // the default look (text 0x010101, fill 0xC0C0C0, disabled text 0x808080, bevel 2).
    // Returns null, changing nothing, when parent has no colour button with that ID.
    static CColorButton* AttachDlgItem(int id, QWidget& parent);

    // Stores the colours (the bevel width stays) and repaints the whole button.
    void SetColors(COLORREF text, COLORREF fill, COLORREF disabledText);

    bool IsBound() const { return m_bound; }
    const ColorButtonLook& Look() const { return m_look; }
    // The owner-draw state flags of the button as it stands.
    ButtonState CurrentState() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool m_bound = false;
    ColorButtonLook m_look;
};

}  // namespace veltaro::ui
