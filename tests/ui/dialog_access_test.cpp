// The main dialog's events: what reaches the console logic, what ends the dialog, the About
// box and the data-arrived event from another thread.
#include <thread>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "about_dlg.h"
#include "dialog_fixture.h"
#include "modal_watcher.h"
#include "updown_ctrl.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using test::DialogTest;
using test::ModalWatcher;

TEST_F(DialogTest, UserEditRunsItsCheckButFormWriteDoesNot) {
    auto* channel = Ctl<QLineEdit>(ctl::kChannelEdit);
    QTest::keyClicks(channel, "0");  // a zero first character is never a channel
    EXPECT_TRUE(channel->text().isEmpty());

    console::SettingsForm form = dialog->ReadForm();
    form.channel = "0";
    form.period = "99";
    dialog->WriteForm(form);
    EXPECT_EQ(channel->text(), u"0"_qs);
    EXPECT_EQ(Ctl<QLineEdit>(ctl::kPeriodEdit)->text(), u"99"_qs);

    dialog->SetEditText(ctl::kPeriodEdit, "77");  // a direct setting runs no check either
    EXPECT_EQ(Ctl<QLineEdit>(ctl::kPeriodEdit)->text(), u"77"_qs);
}

TEST_F(DialogTest, EachFieldEditReachesItsOwnCheck) {
    struct Case {
        int id;
        const char* typed;
        QString result;
    };
    const Case cases[] = {
        {ctl::kChannelEdit, "G", u""_qs},      // no hex digit
        {ctl::kPowerEdit, "0", u""_qs},        // zero power
        {ctl::kPeriodEdit, "4", u""_qs},       // beyond 3 hours
        {ctl::kDestIdEdit, "ab1", u"AB1"_qs},  // capitalised
        {ctl::kChannelEdit, "12", u"12"_qs},   // accepted
        {ctl::kPeriodEdit, "3", u"3"_qs},      // accepted
    };
    for (const Case& c : cases) {
        auto* edit = Ctl<QLineEdit>(c.id);
        edit->clear();
        QTest::keyClicks(edit, c.typed);
        EXPECT_EQ(edit->text(), c.result) << c.id << " " << c.typed;
    }
}

enum class Entry { kTyped, kComposed, kPasted };

// Brings text into an edit as a user would: a key press carrying it, an input method's
// commit (how a Hangul syllable is typed), or a paste.
void Enter(QLineEdit& edit, const QString& text, Entry how) {
    switch (how) {
        case Entry::kTyped: {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QCoreApplication::sendEvent(&edit, &press);
            break;
        }
        case Entry::kComposed: {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(&edit, &commit);
            break;
        }
        case Entry::kPasted:
            QGuiApplication::clipboard()->setText(text);
            edit.paste();
            break;
    }
}

// What the modem gets must be what the user sees: a character that does not travel as one
// byte unchanged never enters an edit whose text is sent, however it comes.
TEST_F(DialogTest, ModemEditsRefuseUnsendableCharacters) {
    struct Case {
        int id;
        const char* accepted;  // typed first
        QString refused;
        Entry how;
        std::string console::SettingsForm::*value;
    };
    using F = console::SettingsForm;
    const Case cases[] = {
        {ctl::kDestIdEdit, "a1", u"\ud55c"_qs, Entry::kComposed, &F::destinationId},
        {ctl::kDestIdEdit, "a1", u"\ud55c"_qs, Entry::kTyped, &F::destinationId},
        {ctl::kDestIdEdit, "a1", u"B\u00e9"_qs, Entry::kPasted, &F::destinationId},
        {ctl::kPeriodEdit, "3", u"\ud55c"_qs, Entry::kComposed, &F::period},
        {ctl::kChannelEdit, "1", u"\x1b"_qs, Entry::kPasted, &F::channel},
        {ctl::kPowerEdit, "5", u"2\n"_qs, Entry::kPasted, &F::power},
    };
    for (const Case& c : cases) {
        auto* edit = Ctl<QLineEdit>(c.id);
        edit->clear();
        QTest::keyClicks(edit, c.accepted);
        const QString before = edit->text();
        ASSERT_FALSE(before.isEmpty()) << c.id;
        Enter(*edit, c.refused, c.how);
        EXPECT_EQ(edit->text(), before) << c.id << " entry " << static_cast<int>(c.how);
        EXPECT_EQ(dialog->ReadForm().*c.value, before.toStdString()) << c.id;
    }
    Enter(*Ctl<QLineEdit>(ctl::kDestIdEdit), u"c"_qs, Entry::kComposed);  // still takes ASCII
    EXPECT_EQ(Ctl<QLineEdit>(ctl::kDestIdEdit)->text(), u"A1C"_qs);
}

// A modem's value may hold a byte the user could not type; it is shown as it came, and the
// edit still refuses what the user cannot send.
TEST_F(DialogTest, ModemEditShowingAnUnsendableValueStillRefusesInput) {
    console::SettingsForm form = dialog->ReadForm();
    form.destinationId = "A\xe9";
    dialog->WriteForm(form);
    auto* edit = Ctl<QLineEdit>(ctl::kDestIdEdit);
    EXPECT_EQ(edit->text(), u"A\u00e9"_qs);
    edit->setCursorPosition(2);
    Enter(*edit, u"\ud55c"_qs, Entry::kComposed);
    EXPECT_EQ(edit->text(), u"A\u00e9"_qs);
    EXPECT_EQ(dialog->ReadForm().destinationId, "A\xe9");
}

TEST_F(DialogTest, PowerEditTurnsLettersToCapitalsBeforeTheCheck) {
    auto* power = Ctl<QLineEdit>(ctl::kPowerEdit);
    QTest::keyClicks(power, "b");
    EXPECT_EQ(power->text(), u"B"_qs);
    EXPECT_EQ(power->selectedText(), u"B"_qs);  // one accepted character stays selected
    QTest::keyClicks(power, "c");               // and the next one replaces it
    EXPECT_EQ(power->text(), u"C"_qs);
    EXPECT_EQ(dialog->ReadForm().power, "C");
}

TEST_F(DialogTest, SpinStepsTheComNumber) {
    auto* spin = Ctl<CUpDownCtrl>(ctl::kComSpin);
    auto* com = Ctl<QLineEdit>(ctl::kComNumber);
    spin->UpArrow()->click();
    spin->UpArrow()->click();
    EXPECT_EQ(com->text(), u"3"_qs);
    spin->DownArrow()->click();
    EXPECT_EQ(com->text(), u"2"_qs);
    com->setText(u"1"_qs);
    spin->DownArrow()->click();
    EXPECT_EQ(com->text(), u"1"_qs);
}

TEST_F(DialogTest, CloseResetsTheDialog) {
    dialog->SetCaption("KD-30");
    dialog->AppendLog("some screen\r\n");
    dialog->EnableControl(ctl::kModePc, false);
    Ctl<QPushButton>(ctl::kClose)->click();
    EXPECT_EQ(dialog->windowTitle(), u"Ostrane - Veltaro"_qs);
    EXPECT_TRUE(Ctl<QPlainTextEdit>(ctl::kLog)->toPlainText().isEmpty());
    EXPECT_TRUE(Ctl(ctl::kModePc)->isEnabled());
    EXPECT_FALSE(Ctl(ctl::kClose)->isEnabled());
    EXPECT_TRUE(Ctl(ctl::kOpen)->isEnabled());
}

TEST_F(DialogTest, CommandWithAnEmptyFieldAsksInAnExclamationBox) {
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalWatcher watcher([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        icon = box->icon();
        box->accept();
    });
    Ctl<QPushButton>(ctl::kChannelSetting)->click();  // the channel field is empty
    EXPECT_TRUE(watcher.Seen());
    EXPECT_FALSE(watcher.TimedOut());
    EXPECT_EQ(caption, u"Information"_qs);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

// Runs the dialog modally and lets `act` press keys in it; returns exec's result.
int RunModal(CQuistorDlg& dialog, const std::function<void(CQuistorDlg&)>& act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] { act(dialog); });
    ModalWatcher guard([](QWidget&) {}, &dialog, 5000);  // closes any stray box
    QTimer::singleShot(8000, &dialog, [&dialog] { dialog.done(-1); });
    return dialog.exec();
}

TEST_F(DialogTest, EnterInAnEditEndsTheDialogAfterReadingTheForm) {
    const int result = RunModal(*dialog, [this](CQuistorDlg&) {
        auto* period = Ctl<QLineEdit>(ctl::kPeriodEdit);
        period->setFocus();
        period->setText(u"2"_qs);
        QTest::keyClick(period, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog->FormAtOk().period, "2");
}

TEST_F(DialogTest, EnterOnACommandButtonEndsTheDialogWithoutClickingIt) {
    const int result = RunModal(*dialog, [this](CQuistorDlg&) {
        auto* close = Ctl<QPushButton>(ctl::kClose);
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(Ctl(ctl::kClose)->isEnabled());  // Close did not run
}

TEST_F(DialogTest, EscEndsTheDialog) {
    const int result = RunModal(
        *dialog, [this](CQuistorDlg&) { QTest::keyClick(Ctl(ctl::kComNumber), Qt::Key_Escape); });
    EXPECT_EQ(result, QDialog::Rejected);
}

void ExpectAboutBox(QWidget& modal, bool& seen) {
    auto* about = qobject_cast<CAboutDlg*>(&modal);
    ASSERT_NE(about, nullptr);
    seen = true;
    EXPECT_EQ(about->windowTitle(), u"Quistor 정보"_qs);
    auto* ok = about->findChild<QPushButton*>(ControlName(1));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), u"확인"_qs);
    auto* version = about->findChild<QLabel*>(UnnamedControlName(2));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), u"Quistor 버전 1.0"_qs);
    QTest::mouseClick(ok, Qt::LeftButton);
}

TEST_F(DialogTest, AboutBoxOpensFromTheShortcutAndClosesWithOk) {
    bool seen = false;
    ModalWatcher watcher([&](QWidget& modal) { ExpectAboutBox(modal, seen); });
    QTest::keyClick(Ctl(ctl::kComNumber), Qt::Key_F1);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(watcher.TimedOut());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(dialog->AboutAction()->text(), u"Quistor 정보(&A)..."_qs);
}

TEST_F(DialogTest, AboutBoxOpensFromTheContextMenu) {
    bool menuShown = false;
    bool seen = false;
    ModalWatcher watcher([&](QWidget& modal) { ExpectAboutBox(modal, seen); });
    QTimer::singleShot(50, dialog.get(), [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        menuShown = true;
        EXPECT_TRUE(menu->actions().contains(dialog->AboutAction()));
        menu->setActiveAction(dialog->AboutAction());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTimer::singleShot(3000, dialog.get(), [] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    });
    // A right click on the background, between the controls.
    const QPoint at(5, 300);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog->mapToGlobal(at));
    QApplication::sendEvent(dialog.get(), &event);
    EXPECT_TRUE(test::WaitUntil([&] { return seen; }));
    EXPECT_TRUE(menuShown);
}

TEST_F(DialogTest, DataArrivedPostedFromAnotherThreadReachesTheConsole) {
    CSerialConn& conn = dialog->Connection();
    ASSERT_NE(conn.m_hNotifyWnd, nullptr);
    const std::string received = "MENU";
    std::thread watcher([&conn, &received] {
        for (char c : received) {
            (void)conn.m_QueueRead.PutByte(static_cast<unsigned char>(c));
        }
        conn.m_hNotifyWnd->Post(CNotifyTarget::kDataArrived, 0, 0);
    });
    watcher.join();
    EXPECT_TRUE(dialog->Console().State().receiveBuffer.empty());  // not yet: it is queued
    EXPECT_TRUE(test::WaitUntil([&] { return !dialog->Console().State().receiveBuffer.empty(); }));
    EXPECT_EQ(dialog->Console().State().receiveBuffer, received);
    EXPECT_EQ(conn.m_QueueRead.GetSize(), 0);
}

}  // namespace
}  // namespace veltaro::ui
