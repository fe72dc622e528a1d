// The main dialog as screen readers and accessibility-based automation see it.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QAccessible>

#include "dialog_fixture.h"

namespace veltaro::ui {
namespace {

using test::DialogTest;

struct Seen {
    QAccessible::Role role;
    QString name;
    QString description;
};

// Every object below root in the accessible tree, depth first.
void Walk(QAccessibleInterface* node, std::vector<Seen>& out) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr) {
            continue;
        }
        out.push_back(
            {child->role(), child->text(QAccessible::Name), child->text(QAccessible::Description)});
        Walk(child, out);
    }
}

bool Has(const std::vector<Seen>& seen, QAccessible::Role role, const QString& name,
         const QString& description = {}) {
    for (const Seen& s : seen) {
        if (s.role == role && s.name == name &&
            (description.isEmpty() || s.description == description)) {
            return true;
        }
    }
    return false;
}

TEST_F(DialogTest, AccessibleTreeNamesEveryKindOfControl) {
    std::vector<Seen> seen;
    Walk(QAccessible::queryAccessibleInterface(dialog.get()), seen);
    using R = QAccessible;
    const struct {
        QAccessible::Role role;
        QString name;
        QString description;
    } samples[] = {
        {R::EditableText, u"COM PORT"_qs, {}},
        {R::EditableText, u"Channel Setting"_qs, {}},
        {R::EditableText, u"Destination ID Setting"_qs, {}},
        {R::EditableText, u"Period Setting"_qs, {}},
        {R::EditableText, u"Console log"_qs, {}},
        {R::RadioButton, u"5"_qs, u"Data Bit"_qs},
        {R::RadioButton, u"1.5"_qs, u"Stop Bit"_qs},
        {R::RadioButton, u"Non"_qs, u"Parity Bit"_qs},
        {R::RadioButton, u"Device"_qs, u"PC/Device Mode Setting"_qs},
        {R::RadioButton, u"SEC"_qs, u"Period Setting"_qs},
        {R::RadioButton, u"RS485"_qs, u"UART Mode Setting"_qs},
        {R::Grouping, u"Data Bit"_qs, {}},
        {R::Grouping, u"UART Mode Setting"_qs, {}},
        {R::Button, u"Open"_qs, {}},
        {R::Button, u"Tx Power Level Setting"_qs, {}},
        {R::Button, u"UART_Information"_qs, {}},
        {R::Button, u"Up"_qs, {}},
    };
    for (const auto& s : samples) {
        EXPECT_TRUE(Has(seen, s.role, s.name, s.description))
            << s.role << " " << s.name.toStdString() << " / " << s.description.toStdString();
    }
    for (const Seen& s : seen) {
        EXPECT_NE(s.role, R::CheckBox)
            << s.name.toStdString() << ": a radio button read as a check box";
    }
    // No control a user can reach or that groups others is left without a name.
    const std::map<QAccessible::Role, int> named = {
        {R::EditableText, 6}, {R::RadioButton, 19}, {R::Grouping, 6}, {R::Button, 15}};
    for (const auto& [role, count] : named) {
        int withName = 0;
        for (const Seen& s : seen) {
            withName += s.role == role && !s.name.isEmpty() ? 1 : 0;
            EXPECT_FALSE(s.role == role && s.name.isEmpty()) << "role " << role;
        }
        EXPECT_GE(withName, count) << "role " << role;
    }
}

}  // namespace
}  // namespace veltaro::ui
