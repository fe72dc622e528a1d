#include "dialog_builder.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "accessible_names.h"
#include "color_button.h"
#include "control_lookup.h"
#include "dialog_units.h"
#include "edit_validator.h"
#include "log_pane.h"
#include "updown_ctrl.h"

namespace veltaro::ui {
namespace {

QString Caption(const ControlRow& row) {
    return QString::fromUtf8(row.caption);
}

QWidget* MakeRadio(const ControlRow& row, QWidget* parent) {
    auto* radio = new QRadioButton(Caption(row), parent);
    // Kept auto-exclusive although the template's group decides (a group takes over from
    // auto-exclusivity): accessibility reports a checkable button that is not
    // auto-exclusive as a check box.
    return radio;
}

QWidget* MakeEdit(const ControlRow& row, QWidget* parent) {
    auto* edit = new QLineEdit(Caption(row), parent);
    if ((row.style & kCentered) != 0) {
        edit->setAlignment(Qt::AlignCenter);
    }
    const bool sendableOnly = (row.style & kSendable) != 0;
    const bool upperCase = (row.style & kUpperCase) != 0;
    if (sendableOnly || upperCase) {
        edit->setValidator(new EditValidator(sendableOnly, upperCase, edit));
    }
    return edit;
}

QWidget* MakeLog(const ControlRow&, QWidget* parent) {
    return new LogPane(parent);
}

QWidget* MakeColorButton(const ControlRow& row, QWidget* parent) {
    auto* button = new CColorButton(parent);
    button->setText(Caption(row));
    button->setAutoDefault(false);  // Enter ends the dialog, whatever button has the focus
    return button;
}

QWidget* MakeDefPushButton(const ControlRow& row, QWidget* parent) {
    auto* button = new QPushButton(Caption(row), parent);
    button->setDefault(true);
    return button;
}

QWidget* MakeUpDown(const ControlRow&, QWidget* parent) {
    return new CUpDownCtrl(parent);
}

QWidget* MakeStatic(const ControlRow& row, QWidget* parent) {
    // Shown as plain text; no static caption of ours holds a '&', so whether it would mark
    // a mnemonic (kNoPrefix) makes no difference.
    auto* label = new QLabel(Caption(row), parent);
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment align = (row.style & kCentered) != 0 ? Qt::AlignHCenter : Qt::AlignLeft;
    align |= (row.style & kVCentered) != 0 ? Qt::AlignVCenter : Qt::AlignTop;
    label->setAlignment(align);
    return label;
}

QWidget* MakeGroupBox(const ControlRow& row, QWidget* parent) {
    auto* box = new QGroupBox(Caption(row), parent);
    // A frame only: clicks go to the radio buttons inside it.
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    return box;
}

QWidget* MakePicture(const ControlRow& row, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(Caption(row)));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

using Factory = QWidget* (*)(const ControlRow&, QWidget*);

Factory FactoryFor(ControlClass cls) {
    switch (cls) {
        case ControlClass::kAutoRadio:
            return &MakeRadio;
        case ControlClass::kEdit:
            return &MakeEdit;
        case ControlClass::kLogEdit:
            return &MakeLog;
        case ControlClass::kOwnerDrawButton:
            return &MakeColorButton;
        case ControlClass::kDefPushButton:
            return &MakeDefPushButton;
        case ControlClass::kUpDown:
            return &MakeUpDown;
        case ControlClass::kStaticText:
            return &MakeStatic;
        case ControlClass::kGroupBox:
            return &MakeGroupBox;
        case ControlClass::kBitmap:
        case ControlClass::kIcon:
            return &MakePicture;
    }
    return &MakeStatic;
}

Qt::FocusPolicy FocusPolicyFor(const ControlRow& row) {
    if (row.tabStop) {
        return Qt::StrongFocus;
    }
    return row.cls == ControlClass::kAutoRadio ? Qt::ClickFocus : Qt::NoFocus;
}

// Pictures take the size of their image, plus the edge, as the platform's picture
// controls do; everything else takes the template's rectangle.
QRect GeometryFor(const ControlRow& row, const QWidget& widget) {
    QRect rect = DluRectToPixels(row.x, row.y, row.w, row.h);
    const auto* label = qobject_cast<const QLabel*>(&widget);
    const bool picture = row.cls == ControlClass::kBitmap || row.cls == ControlClass::kIcon;
    if (picture && label != nullptr) {
        const QSize image = label->pixmap().size();
        const int edge = 2 * label->frameWidth();
        rect.setSize(image + QSize(edge, edge));
    }
    return rect;
}

QWidget* MakeControl(const ControlRow& row, int number, QWidget& dialog) {
    QWidget* widget = FactoryFor(row.cls)(row, &dialog);
    widget->setObjectName(row.id == kNoId ? UnnamedControlName(number) : ControlName(row.id));
    if ((row.style & kStaticEdge) != 0) {
        if (auto* frame = qobject_cast<QFrame*>(widget)) {
            frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            frame->setLineWidth(1);
        }
    }
    widget->setFocusPolicy(FocusPolicyFor(row));
    widget->setGeometry(GeometryFor(row, *widget));
    return widget;
}

std::vector<RadioGroup> MakeRadioGroups(QWidget& dialog, std::span<const ControlRow> rows,
                                        const std::vector<QWidget*>& widgets) {
    std::vector<RadioGroup> groups;
    bool inGroup = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow& row = rows[i];
        if (row.groupStart) {
            inGroup = false;
        }
        if (row.cls != ControlClass::kAutoRadio) {
            continue;
        }
        if (!inGroup) {
            auto* buttons = new QButtonGroup(&dialog);
            buttons->setExclusive(true);
            groups.push_back({row.id, buttons});
            inGroup = true;
        }
        QButtonGroup* buttons = groups.back().buttons;
        buttons->addButton(qobject_cast<QRadioButton*>(widgets[i]),
                           static_cast<int>(buttons->buttons().size()));
    }
    return groups;
}

void ChainTabOrder(std::span<const ControlRow> rows, const std::vector<QWidget*>& widgets) {
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].tabStop) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widgets[i]);
        }
        previous = widgets[i];
    }
}

}  // namespace

QButtonGroup* BuiltControls::GroupOf(int firstId) const {
    for (const RadioGroup& group : radioGroups) {
        if (group.firstId == firstId) {
            return group.buttons;
        }
    }
    return nullptr;
}

BuiltControls BuildControls(QWidget& dialog, const DialogTemplate& tpl) {
    dialog.setWindowTitle(QString::fromUtf8(tpl.caption));
    QFont font = dialog.font();
    font.setFamilies(
        {QStringLiteral("NanumBarunGothic"), QStringLiteral("NanumGothic"), font.family()});
    font.setPixelSize(tpl.fontPixels);
    dialog.setFont(font);
    dialog.resize(DluToPixelsX(tpl.w), DluToPixelsY(tpl.h));

    BuiltControls built;
    int number = 1;
    for (const ControlRow& row : tpl.controls) {
        built.widgets.push_back(MakeControl(row, number++, dialog));
    }
    for (QWidget* widget : built.widgets) {
        if (qobject_cast<QGroupBox*>(widget) != nullptr) {
            widget->lower();  // frames stay behind the radio buttons they surround
        }
    }
    built.radioGroups = MakeRadioGroups(dialog, tpl.controls, built.widgets);
    ChainTabOrder(tpl.controls, built.widgets);
    NameControlsForAccessibility(tpl, built);
    return built;
}

}  // namespace veltaro::ui
