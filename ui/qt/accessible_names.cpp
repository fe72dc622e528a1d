#include "accessible_names.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRect>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "ui_texts.h"

namespace veltaro::ui {
namespace {

enum class Side { kLeft, kEither };

QRect RowRect(const ControlRow& row) {
    return {row.x, row.y, row.w, row.h};  // dialog units: only relative places matter
}

QString CaptionText(const ControlRow& row) {
    QString caption = QString::fromUtf8(row.caption);
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

bool IsPushButton(const ControlRow& row) {
    return row.cls == ControlClass::kOwnerDrawButton || row.cls == ControlClass::kDefPushButton;
}

// 0 for a static text, 1 for a push button: a static text is the better label.
std::optional<int> LabelRank(const ControlRow& row) {
    if (row.caption == nullptr || std::string_view(row.caption).empty()) {
        return std::nullopt;
    }
    if (row.cls == ControlClass::kStaticText) {
        return 0;
    }
    return IsPushButton(row) ? std::optional<int>(1) : std::nullopt;
}

// The row that labels target: in line with it (overlapping rows), best rank, then nearest.
const ControlRow* FindLabel(std::span<const ControlRow> rows, const QRect& target, Side side) {
    const ControlRow* best = nullptr;
    int bestRank = 0;
    int bestGap = 0;
    for (const ControlRow& row : rows) {
        const std::optional<int> rank = LabelRank(row);
        const QRect rect = RowRect(row);
        const bool inLine = rect.top() <= target.bottom() && target.top() <= rect.bottom();
        const bool left = rect.right() < target.left();
        const bool right = rect.left() > target.right();
        if (!rank || !inLine || !(left || (side == Side::kEither && right))) {
            continue;
        }
        const int gap = left ? target.left() - rect.right() : rect.left() - target.right();
        if (best == nullptr || *rank < bestRank || (*rank == bestRank && gap < bestGap)) {
            best = &row;
            bestRank = *rank;
            bestGap = gap;
        }
    }
    return best;
}

QString LabelFor(std::span<const ControlRow> rows, const QRect& target, Side side) {
    const ControlRow* label = FindLabel(rows, target, side);
    return label != nullptr ? CaptionText(*label) : QString();
}

void NameRadioGroups(const DialogTemplate& tpl, const BuiltControls& built) {
    const std::span<const ControlRow> rows = tpl.controls;
    for (const RadioGroup& group : built.radioGroups) {
        QRect area;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            auto* button = qobject_cast<QAbstractButton*>(built.widgets[i]);
            if (button != nullptr && group.buttons->buttons().contains(button)) {
                area = area.united(RowRect(rows[i]));
            }
        }
        const QString name = LabelFor(rows, area, Side::kEither);
        for (QAbstractButton* radio : group.buttons->buttons()) {
            radio->setAccessibleDescription(name);
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {  // the frame drawn around the group
            if (rows[i].cls == ControlClass::kGroupBox && RowRect(rows[i]).contains(area)) {
                built.widgets[i]->setAccessibleName(name);
            }
        }
    }
}

}  // namespace

void NameControlsForAccessibility(const DialogTemplate& tpl, const BuiltControls& built) {
    const std::span<const ControlRow> rows = tpl.controls;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow& row = rows[i];
        QWidget* widget = built.widgets[i];
        switch (row.cls) {
            case ControlClass::kEdit:
            case ControlClass::kUpDown:
                widget->setAccessibleName(LabelFor(rows, RowRect(row), Side::kLeft));
                break;
            case ControlClass::kLogEdit:
                widget->setAccessibleName(QString::fromUtf8(text::kConsoleLogName));
                break;
            case ControlClass::kAutoRadio:
            case ControlClass::kOwnerDrawButton:
            case ControlClass::kDefPushButton:
                widget->setAccessibleName(CaptionText(row));
                break;
            case ControlClass::kBitmap:
                widget->setAccessibleName(QString::fromUtf8(text::kLogoName));
                break;
            case ControlClass::kIcon:
                widget->setAccessibleName(QString::fromUtf8(text::kIconName));
                break;
            case ControlClass::kStaticText:
            case ControlClass::kGroupBox:
                break;  // their text; frames are named with their radio group below
        }
    }
    NameRadioGroups(tpl, built);
}

}  // namespace veltaro::ui
