#include "file_dialogs.h"

#include <QFileDialog>

#include "ui_texts.h"

namespace veltaro::ui {
namespace {

QString Filter() {
    return QString::fromUtf8(text::kProfileFilter) + QStringLiteral(";;All files (*)");
}

}  // namespace

QString QtFileDialogs::AskSavePath(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QString::fromUtf8(text::kSaveTitle), suggested,
                                        Filter());
}

QString QtFileDialogs::AskOpenPath(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QString::fromUtf8(text::kApplyTitle), folder,
                                        Filter());
}

}  // namespace veltaro::ui
