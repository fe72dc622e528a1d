#pragma once

#include <string_view>

#include <QPlainTextEdit>

namespace veltaro::ui {

// The log pane (edit 1006): multi-line, read-only, no line wrapping, a vertical scroll bar
// and no horizontal one, on the button-face background, in its parent's font.
// The user can scroll, click and select; the program appends received console text.
//
// Every append goes to the end of the log, never to the user's caret: the user's selection
// and scroll position stay as they were, and the view follows the new text only while it
// was already scrolled to the bottom. Appends are not undoable. The text has no limit.
//
// Threads: user-interface thread only.
class LogPane : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit LogPane(QWidget* parent = nullptr);

    // Appends raw console bytes (console_text.h says how they show).
    void AppendRaw(std::string_view bytes);
    // Replaces the whole text.
    void SetRaw(std::string_view bytes);
};

}  // namespace veltaro::ui
