#include "report_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app_resources.h"

namespace veltaro::ui {

CReportDlg::CReportDlg(const console::Report& report, bool withCancel, const QString& objectName,
                       QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(QString::fromStdString(report.title));
    setWindowIcon(AppIcon());
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QString::fromStdString(report.intro), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    for (const console::ReportSection& section : report.sections) {
        auto* heading =
            new QLabel(QStringLiteral("<b>%1</b>")
                           .arg(QString::fromStdString(section.heading).toHtmlEscaped()),
                       this);
        layout->addWidget(heading);
        auto* rows = new QListWidget(this);
        rows->setObjectName(QStringLiteral("reportRows"));
        rows->setProperty("heading", QString::fromStdString(section.heading));
        for (const std::string& row : section.rows) {
            rows->addItem(QString::fromStdString(row));
        }
        // Tall enough for every row up to a dozen; a longer list scrolls.
        const int shown = std::min(static_cast<int>(section.rows.size()), 12);
        rows->setFixedHeight(rows->sizeHintForRow(0) * shown + 2 * rows->frameWidth() + 4);
        layout->addWidget(rows);
    }
    auto* buttons = new QDialogButtonBox(
        withCancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

}  // namespace veltaro::ui
