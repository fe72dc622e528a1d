#pragma once

#include <QDialog>

#include "veltaro/console/apply_report.h"

namespace veltaro::ui {

// Shows a report of the console (the confirmation before Apply, the summary after it): its
// intro, then each section as a heading over its rows. With a Cancel button it asks (OK
// applies); without, it only tells.
class CReportDlg : public QDialog {
    Q_OBJECT

  public:
    // objectName: how tests find the box ("applyConfirmation", "applySummary").
    CReportDlg(const console::Report& report, bool withCancel, const QString& objectName,
               QWidget* parent);
};

}  // namespace veltaro::ui
