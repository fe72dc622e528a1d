#pragma once

#include <QString>
#include <QWidget>

// How the controls of a dialog template are named and found: a control with an ID is
// named "ctl_<ID>", one without an ID "static_<n>" with n its 1-based row in the template.
namespace veltaro::ui {

inline QString ControlName(int id) {
    return QStringLiteral("ctl_%1").arg(id);
}
inline QString UnnamedControlName(int row) {
    return QStringLiteral("static_%1").arg(row);
}

// The direct child of parent with this control ID, or null.
inline QWidget* FindControl(QWidget& parent, int id) {
    return parent.findChild<QWidget*>(ControlName(id), Qt::FindDirectChildrenOnly);
}

}  // namespace veltaro::ui
