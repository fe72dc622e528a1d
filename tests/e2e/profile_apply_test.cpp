// Save and Apply of the real dialog against simulated modems: what one modem reported, saved
// to a file and applied to another, reads back equal; a Cancel lets the command in flight
// finish and sends nothing more; files cross over with veltaro-cli both ways.
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <fstream>

#include "apply_cases.h"
#include "broken_profiles.h"
#include "child_process.h"
#include "e2e_fixture.h"
#include "file_dialogs.h"
#include "profile_commands.h"
#include "veltaro/console/control_ids.h"
#include "window_watcher.h"

namespace veltaro::e2e {
namespace {

namespace ctl = console::ctl;

// The file dialogs as a test answers them, recording what they were asked with.
class AnsweringFileDialogs : public ui::ProfileFileDialogs {
  public:
    QString AskSavePath(QWidget*, const QString& suggested) override {
        suggestedSave = suggested;
        return savePath;
    }
    QString AskOpenPath(QWidget*, const QString& folder) override {
        openFolder = folder;
        return openPath;
    }
    QString savePath, openPath;
    QString suggestedSave, openFolder;
};

// What the boxes of one Apply showed.
struct ApplySeen {
    QStringList confirmation;
    QStringList summary;
    QString summaryIntro;
    QString box;  // a refusal's message box
};

class ProfileApplyTest : public EndToEndTest {
  protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        Profiles().SetFileDialogs(&files);
    }

    ui::ProfileCommands& Profiles() { return Ui().Dialog().Profiles(); }
    std::string File(const std::string& name) { return m_files.File(name); }

    ModemSimProcess* StartModem(const ModemValues& modem, int com) {
        return StartSim({modem.model, com, SimArgs(modem)});
    }

    // Opens the port and waits for both information screens of the KD model.
    testing::AssertionResult OpenKd(int com) {
        if (testing::AssertionResult opened = OpenAndDetect(com, QStringLiteral("KD-35"));
            !opened) {
            return opened;
        }
        return WaitForLogLines(kOkLine, Ui().CountLogLines(kOkLine) + 2, 6000);
    }

    testing::AssertionResult Save(const std::string& path) {
        files.savePath = QString::fromStdString(path);
        Profiles().Save();
        if (Ui().WaitUntil([&] { return !Profiles().Running(); }, 15000) &&
            QFile::exists(files.savePath)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "nothing saved to " << path;
    }

    // Apply with `path`: the confirmation is answered with OK (or Cancel), then the run is
    // awaited to its summary. during: called while the run goes on, with the progress box.
    ApplySeen Apply(const std::string& path, bool ok = true,
                    const std::function<bool(QWidget&)>& during = {}) {
        ApplySeen seen;
        files.openPath = QString::fromStdString(path);
        WindowWatcher confirm(QStringLiteral("applyConfirmation"), [&](QWidget& box) {
            seen.confirmation = ReportRows(box);
            SaveShot(box, QStringLiteral("apply_confirmation_qt.png"));
            AnswerReport(box, ok);
        });
        WindowWatcher refusal(QStringLiteral("profileMessageBox"), [&](QWidget& box) {
            seen.box = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
            qobject_cast<QDialog*>(&box)->accept();
        });
        WindowWatcher summary(QStringLiteral("applySummary"), [&](QWidget& box) {
            seen.summary = ReportRows(box);
            seen.summaryIntro = box.findChild<QLabel*>()->text();
            SaveShot(box, QStringLiteral("apply_summary_qt.png"));
            AnswerReport(box, true);
        });
        Profiles().Apply();
        bool acted = false;
        Ui().WaitUntil(
            [&] {
                QWidget* progress =
                    Ui().Dialog().findChild<QWidget*>(QStringLiteral("applyProgress"));
                if (during && !acted && progress != nullptr && progress->isVisible()) {
                    acted = during(*progress);
                }
                return !Profiles().Running();
            },
            90000);
        return seen;
    }

    AnsweringFileDialogs files;

  private:
    TempDir m_files;
};

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool HasRowStarting(const QStringList& rows, const QString& start) {
    return std::any_of(rows.begin(), rows.end(),
                       [&](const QString& row) { return row.startsWith(start); });
}

TEST_F(ProfileApplyTest, SavedFromOneModemAppliedToAnotherReadsBackEqual) {
    ASSERT_NE(StartModem(SourceModem(), 51), nullptr);
    ASSERT_NE(StartModem(TargetModem(), 52), nullptr);
    ASSERT_TRUE(OpenKd(51));
    ASSERT_TRUE(Save(File("source.json")));
    EXPECT_TRUE(files.suggestedSave.endsWith(QStringLiteral("/KD-35_0BEEF.json")))
        << files.suggestedSave.toStdString();

    Ui().Click(ctl::kClose);
    ASSERT_TRUE(OpenKd(52));
    const ApplySeen seen = Apply(File("source.json"), true, [](QWidget& progress) {
        if (!progress.findChild<QLabel*>(QStringLiteral("progressText"))
                 ->text()
                 .contains(QStringLiteral("(3 of"))) {
            return false;
        }
        SaveShot(progress, QStringLiteral("apply_progress_qt.png"));
        return true;
    });
    EXPECT_EQ(files.openFolder, QString::fromStdString(File("")).chopped(1));  // the last folder
    EXPECT_TRUE(HasRowStarting(seen.confirmation,
                               QStringLiteral("Will change (current → new): channel: 05 → 23")))
        << seen.confirmation.join('\n').toStdString();
    EXPECT_TRUE(HasRowStarting(seen.confirmation,
                               QStringLiteral("Will change (current → new): destination-id")))
        << seen.confirmation.join('\n').toStdString();
    EXPECT_FALSE(seen.summary.isEmpty());
    for (const QString& row : seen.summary) {
        EXPECT_TRUE(row.startsWith(QStringLiteral("Changed: ")) ||
                    row.contains(QStringLiteral("(skipped)")))
            << row.toStdString() << "\n"
            << Ui().LogText();
    }

    ASSERT_TRUE(Save(File("target.json")));
    EXPECT_EQ(ProfileSettings(File("target.json")), ProfileSettings(File("source.json")));
    EXPECT_EQ(Ui().CountLogLines(kRefusedLine), 0) << Ui().LogText();
}

// Cancel while the second command waits in its pause: that command still types its value
// and line end, then only the read-back follows.
TEST_F(ProfileApplyTest, CancelLetsTheCommandInFlightFinishAndSendsNoMore) {
    ModemSimProcess* target = StartModem(TargetModem(), 54);
    ASSERT_NE(target, nullptr);
    WriteFile(File("source.json"), SourceProfileText());
    ASSERT_TRUE(OpenKd(54));
    const std::size_t before = Received(*target).size();

    const ApplySeen seen = Apply(File("source.json"), true, [](QWidget& progress) {
        const auto* text = progress.findChild<QLabel*>(QStringLiteral("progressText"));
        if (!text->text().contains(QStringLiteral("(2 of"))) {
            return false;
        }
        progress.findChild<QPushButton*>(QStringLiteral("progressCancel"))->click();
        return true;
    });
    EXPECT_TRUE(seen.summaryIntro.startsWith(QStringLiteral("Cancelled")))
        << seen.summaryIntro.toStdString();
    EXPECT_TRUE(HasRowStarting(seen.summary, QStringLiteral("Not sent: interface")))
        << seen.summary.join('\n').toStdString();
    const std::vector<WireByte> received = Received(*target);
    ASSERT_GE(received.size(), before);
    // Channel, power (in flight at the Cancel), then Information and UART_Information.
    EXPECT_EQ(Visible(BytesOf(std::span(received).subspan(before))), Visible(kCancelledApplyWire));
}

TEST_F(ProfileApplyTest, NothingToChangeSendsNothing) {
    ModemSimProcess* source = StartModem(SourceModem(), 55);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(OpenKd(55));
    ASSERT_TRUE(Save(File("same.json")));
    const std::size_t before = Received(*source).size();
    files.openPath = QString::fromStdString(File("same.json"));
    bool sawCancel = true;
    WindowWatcher told(QStringLiteral("applyConfirmation"), [&](QWidget& box) {
        sawCancel = box.findChildren<QPushButton*>().size() > 1;
        AnswerReport(box, true);
    });
    Profiles().Apply();
    EXPECT_TRUE(told.Seen());
    EXPECT_FALSE(sawCancel) << "an OK-only box is expected when nothing changes";
    EXPECT_EQ(Received(*source).size(), before);
}

// Every file of the broken-profile table is refused with its reason; not a byte is sent.
TEST_F(ProfileApplyTest, RefusedFilesSendNothing) {
    ModemSimProcess* sim = StartModem(TargetModem(), 59);
    ASSERT_NE(sim, nullptr);
    ASSERT_TRUE(OpenKd(59));
    const std::size_t before = Received(*sim).size();
    for (const console::testing::BrokenProfile& broken : console::testing::BrokenProfiles()) {
        SCOPED_TRACE(broken.name);
        const std::filesystem::path path = MakeBrokenProfile(broken, File(""));
        ASSERT_FALSE(path.empty());
        const ApplySeen seen = Apply(path.string());
        EXPECT_TRUE(seen.box.contains(QString::fromUtf8(broken.message)))
            << seen.box.toStdString() << "\nexpected: " << broken.message;
        EXPECT_TRUE(seen.confirmation.isEmpty());
    }
    EXPECT_EQ(Received(*sim).size(), before);
}

// veltaro-cli with the port directory of this test.
int RunCli(const std::vector<std::string>& args, const std::string& outputPath = {}) {
    std::vector<std::string> argv{VELTARO_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildProcess cli(argv, {});
    std::ofstream output;
    if (!outputPath.empty()) {
        output.open(outputPath, std::ios::binary);
    }
    while (std::optional<std::string> line = cli.ReadLine(Millis(60000))) {
        output << *line << "\n";
    }
    return cli.WaitExit(Millis(60000)).value_or(-1);
}

TEST_F(ProfileApplyTest, FileSavedByTheProgramAppliesWithTheCli) {
    ASSERT_NE(StartModem(SourceModem(), 71), nullptr);
    ASSERT_NE(StartModem(TargetModem(), 72), nullptr);
    ASSERT_TRUE(OpenKd(71));
    ASSERT_TRUE(Save(File("program.json")));
    Ui().Click(ctl::kClose);
    EXPECT_EQ(RunCli({"--com", "72", "set", "--from", File("program.json")}), 0);
    EXPECT_EQ(RunCli({"--com", "72", "info", "--json"}, File("cli-after.json")), 0);
    EXPECT_EQ(ProfileSettings(File("cli-after.json")), ProfileSettings(File("program.json")));
}

TEST_F(ProfileApplyTest, FileWrittenByTheCliAppliesInTheProgram) {
    ASSERT_NE(StartModem(SourceModem(), 71), nullptr);
    ASSERT_NE(StartModem(TargetModem(), 73), nullptr);
    EXPECT_EQ(RunCli({"--com", "71", "info", "--json"}, File("cli.json")), 0);
    ASSERT_TRUE(OpenKd(73));
    const ApplySeen seen = Apply(File("cli.json"));
    EXPECT_FALSE(seen.summary.isEmpty()) << seen.box.toStdString();
    ASSERT_TRUE(Save(File("program-after.json")));
    EXPECT_EQ(ProfileSettings(File("program-after.json")), ProfileSettings(File("cli.json")));
    EXPECT_NE(ProfileSettings(File("cli.json")), "");
}

// The real context menu: both items follow the port and the detected model.
TEST_F(ProfileApplyTest, MenuItemsNeedAModelAndTheApplyItemRuns) {
    ASSERT_NE(StartModem(SourceModem(), 56), nullptr);
    EXPECT_FALSE(Profiles().SaveAction()->isEnabled());
    EXPECT_FALSE(Profiles().ApplyAction()->isEnabled());
    ASSERT_TRUE(OpenKd(56));
    EXPECT_TRUE(Profiles().SaveAction()->isEnabled());
    EXPECT_TRUE(Profiles().ApplyAction()->isEnabled());
    ASSERT_TRUE(Save(File("menu.json")));

    files.openPath = QString::fromStdString(File("menu.json"));
    bool confirmed = false;
    WindowWatcher confirm(QStringLiteral("applyConfirmation"), [&](QWidget& box) {
        confirmed = true;
        AnswerReport(box, false);
    });
    QAction* chosen = nullptr;
    QTimer::singleShot(200, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        chosen = Profiles().ApplyAction();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    });
    QWidget& dialog = Ui().Dialog();
    const QPoint at(20, 20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog.mapToGlobal(at));
    QApplication::sendEvent(&dialog, &event);
    Ui().WaitUntil([&] { return confirmed; }, 5000);
    EXPECT_TRUE(confirmed);

    // Ctrl+O reaches the same command.
    bool again = false;
    WindowWatcher viaKeys(QStringLiteral("applyConfirmation"), [&](QWidget& box) {
        again = true;
        AnswerReport(box, false);
    });
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &dialog, Qt::Key_O, Qt::ControlModifier);
    Ui().WaitUntil([&] { return again; }, 5000);
    EXPECT_TRUE(again);

    Ui().Click(ctl::kClose);
    EXPECT_FALSE(Profiles().SaveAction()->isEnabled());
    EXPECT_FALSE(Profiles().ApplyAction()->isEnabled());
}

}  // namespace
}  // namespace veltaro::e2e
