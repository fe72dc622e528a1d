#pragma once

#include <QString>

class QWidget;

namespace veltaro::ui {

// Where Save and Apply ask for a file: the platform's own dialogs, or a test's answers.
// An empty result means the user cancelled. User-interface thread only.
class ProfileFileDialogs {
  public:
    virtual ~ProfileFileDialogs() = default;
    // suggested: the last folder with a proposed file name.
    virtual QString AskSavePath(QWidget* parent, const QString& suggested) = 0;
    // folder: the last folder used (empty: the platform's choice).
    virtual QString AskOpenPath(QWidget* parent, const QString& folder) = 0;
};

// QFileDialog.
class QtFileDialogs : public ProfileFileDialogs {
  public:
    QString AskSavePath(QWidget* parent, const QString& suggested) override;
    QString AskOpenPath(QWidget* parent, const QString& folder) override;
};

}  // namespace veltaro::ui
