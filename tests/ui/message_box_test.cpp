// Message boxes: the serial link's own (through the hook, from any thread) and the
// dialog's prompts.
#include <thread>

#include <QMessageBox>

#include "dialog_fixture.h"
#include "message_box_hook.h"
#include "modal_watcher.h"

namespace veltaro::ui {
namespace {

using test::DialogTest;
using test::ModalWatcher;

struct SeenBox {
    QString text;
    QString detail;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
};

std::function<void(QWidget&)> Capture(SeenBox& seen) {
    return [&seen](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        seen = {box->text(), box->detailedText(), box->windowTitle(), box->icon(),
                box->standardButtons()};
        box->accept();
    };
}

TEST_F(DialogTest, LinkBoxOnTheUserInterfaceThreadShowsAtOnce) {
    SeenBox seen;
    ModalWatcher watcher(Capture(seen));
    CMessageBoxHook* hook = dialog->Connection().m_pMessageBoxHook;
    ASSERT_NE(hook, nullptr);
    hook->ShowMessage("Cannot Open port", "/dev/ttyS7: permission denied (group dialout)");
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(seen.text, u"Cannot Open port"_qs);
    EXPECT_EQ(seen.detail, u"/dev/ttyS7: permission denied (group dialout)"_qs);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST_F(DialogTest, LinkBoxFromAnotherThreadIsShownByTheUserInterfaceThread) {
    SeenBox seen;
    ModalWatcher watcher(Capture(seen));
    CMessageBoxHook* hook = dialog->Connection().m_pMessageBoxHook;
    std::thread watcherThread(
        [hook] { hook->ShowMessage("Error while creating ThreadWatchComm\\\\.\\COM12", ""); });
    watcherThread.join();  // returns without waiting for the user
    EXPECT_FALSE(watcher.Seen());
    EXPECT_TRUE(test::WaitUntil([&] { return watcher.Seen(); }));
    EXPECT_EQ(seen.text, u"Error while creating ThreadWatchComm\\\\.\\COM12"_qs);
    EXPECT_TRUE(seen.detail.isEmpty());
}

TEST_F(DialogTest, QueuedLinkBoxIsDroppedWhenTheDialogGoes) {
    CMessageBoxHook* hook = dialog->Connection().m_pMessageBoxHook;
    std::thread watcherThread([hook] { hook->ShowMessage("Cannot Open port", ""); });
    watcherThread.join();
    dialog.reset();
    ModalWatcher watcher([](QWidget&) {}, nullptr, 1000);
    QCoreApplication::processEvents();
    EXPECT_FALSE(watcher.Seen());
}

}  // namespace
}  // namespace veltaro::ui
