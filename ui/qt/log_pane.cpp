#include "log_pane.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>

#include "console_text.h"

namespace veltaro::ui {

LogPane::LogPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    // A vertical scroll bar only: long lines do not wrap, they scroll with the caret.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // A read-only edit stands on the button face, not on an editable field's white.
    QPalette look = palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        look.setColor(group, QPalette::Base, look.color(group, QPalette::Button));
    }
    setPalette(look);
    // Keyboard selection and copying stay possible in the read-only pane.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void LogPane::AppendRaw(std::string_view bytes) {
    const QString text = DecodeConsoleBytes(bytes);
    if (text.isEmpty()) {
        return;
    }
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    const bool atBottom = vertical->value() >= vertical->maximum();
    const int verticalValue = vertical->value();
    const int horizontalValue = horizontal->value();
    // Positions, not the cursor: a QTextCursor follows the document's edits.
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();

    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    const int oldEnd = end.position();
    end.insertText(text);

    // A selection that reached the old end would have grown over the new text.
    if (anchor != position && (anchor == oldEnd || position == oldEnd)) {
        QTextCursor kept(document());
        kept.setPosition(anchor);
        kept.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(kept);
    }
    vertical->setValue(atBottom ? vertical->maximum() : verticalValue);
    horizontal->setValue(horizontalValue);
}

void LogPane::SetRaw(std::string_view bytes) {
    setPlainText(DecodeConsoleBytes(bytes));
}

}  // namespace veltaro::ui
