#pragma once

#include <gtest/gtest.h>

#include <memory>

#include <QTest>

#include "control_lookup.h"
#include "quistor_dlg.h"

namespace veltaro::ui::test {

// A shown, active main dialog.
class DialogTest : public testing::Test {
  protected:
    void SetUp() override {
        dialog = std::make_unique<CQuistorDlg>();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    template <typename T = QWidget>
    T* Ctl(int id) {
        auto* widget = qobject_cast<T*>(dialog->Control(id));
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }

    std::unique_ptr<CQuistorDlg> dialog;
};

}  // namespace veltaro::ui::test
