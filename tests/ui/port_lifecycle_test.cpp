// The dialog over a real serial connection: a pseudo-terminal mapped to a COM number.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialog_fixture.h"
#include "modal_watcher.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
namespace fs = std::filesystem;
using test::ModalWatcher;
using test::WaitUntil;

// A pseudo-terminal whose slave is COM7 in a port directory of its own.
class PseudoPort {
  public:
    PseudoPort() {
        m_dir = fs::temp_directory_path() / ("veltaro-ui-ports-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        qputenv("BRENLOW_PORT_DIR", QByteArray::fromStdString(m_dir.string()));
        Replug();
    }
    ~PseudoPort() {
        qunsetenv("BRENLOW_PORT_DIR");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
        Unplug();
    }
    PseudoPort(const PseudoPort&) = delete;
    PseudoPort& operator=(const PseudoPort&) = delete;

    bool Ok() const { return m_master >= 0; }
    void Write(const std::string& text) const {
        (void)!::write(m_master, text.data(), text.size());
    }
    // Everything the program has written so far.
    std::string Drain() const {
        std::string out;
        char buffer[256];
        ssize_t n = 0;
        while ((n = ::read(m_master, buffer, sizeof buffer)) > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
        }
        return out;
    }

    // The device goes away, as a pulled USB adapter does: the program's side hangs up.
    void Unplug() {
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
    }
    // A new device behind COM7, as when the adapter is plugged in again.
    void Replug() {
        Unplug();
        char name[256] = {};
        int slave = -1;
        if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
            m_master = -1;
            return;
        }
        ::close(slave);  // the program opens it by name
        (void)fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        fs::remove(m_dir / "com7");
        fs::create_symlink(name, m_dir / "com7");
    }

  private:
    int m_master = -1;
    fs::path m_dir;
};

class PortTest : public test::DialogTest {
  protected:
    void OpenCom(const char* number) {
        Ctl<QLineEdit>(ctl::kComNumber)->setText(QString::fromLatin1(number));
        Ctl<QPushButton>(ctl::kOpen)->click();
    }
};

TEST_F(PortTest, OpenReceiveAndEndWithThePortOpen) {
    PseudoPort port;
    ASSERT_TRUE(port.Ok());
    ModalWatcher noBox([](QWidget&) {}, nullptr, 1000);
    OpenCom("7");
    ASSERT_FALSE(noBox.Seen()) << "the port did not open";
    ASSERT_FALSE(Ctl(ctl::kOpen)->isEnabled());
    EXPECT_TRUE(Ctl<QPlainTextEdit>(ctl::kLog)->toPlainText().startsWith(u"http://"_qs));
    std::string written;
    EXPECT_TRUE(WaitUntil([&] { return !(written += port.Drain()).empty(); }, 3000));
    EXPECT_EQ(written, "\x1b");

    port.Write("ready");
    EXPECT_TRUE(WaitUntil(
        [&] { return dialog->Console().State().receiveBuffer.find("ready") != std::string::npos; },
        5000));

    // Ending the program with the port open closes it and ends its watcher first.
    QElapsedTimer clock;
    clock.start();
    dialog.reset();
    EXPECT_LT(clock.elapsed(), 3000);
    CSerialConn again;
    EXPECT_EQ(again.OpenPort("COM7", 9600, 8, 0, 0), 1) << "the port was left open";
    again.ClosePort();
}

// The modem's first screen makes the dialog write its form; the COM number must stay the
// one that was opened, so Close then Open opens that port again.
TEST_F(PortTest, ComNumberShowsTheOpenPortAfterDetectionAndClose) {
    PseudoPort port;
    ASSERT_TRUE(port.Ok());
    ModalWatcher noBox([](QWidget&) {}, nullptr, 1000);
    OpenCom("7");
    ASSERT_FALSE(Ctl(ctl::kOpen)->isEnabled()) << "the port did not open";
    port.Write("\r\nFL-25 CONFIGURATION\r\n");
    ASSERT_TRUE(WaitUntil([&] { return dialog->windowTitle() == u"FL-25"_qs; }, 5000));
    EXPECT_EQ(Ctl<QLineEdit>(ctl::kComNumber)->text(), u"7"_qs);

    Ctl<QPushButton>(ctl::kClose)->click();
    EXPECT_EQ(Ctl<QLineEdit>(ctl::kComNumber)->text(), u"7"_qs);
    Ctl<QPushButton>(ctl::kOpen)->click();
    EXPECT_FALSE(Ctl(ctl::kOpen)->isEnabled()) << "COM7 did not open again";
    EXPECT_FALSE(noBox.Seen());
}

// A pulled adapter: the user is told once, the dialog stays connected until Close, and Open
// works again once the device is back.
TEST_F(PortTest, LostDeviceIsReportedOnceAndThePortOpensAgainWhenItIsBack) {
    PseudoPort port;
    ASSERT_TRUE(port.Ok());
    OpenCom("7");
    ASSERT_FALSE(Ctl(ctl::kOpen)->isEnabled()) << "the port did not open";
    int boxes = 0;
    QString text;
    QString detail;
    ModalWatcher watcher([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            ++boxes;
            text = box->text();
            detail = box->detailedText();
            box->accept();
        }
    });
    port.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return watcher.Seen(); }, 5000));
    EXPECT_TRUE(text.contains(uR"(port \\.\COM7:)"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"unplugged"_qs)) << text.toStdString();
    EXPECT_FALSE(detail.isEmpty());
    ModalWatcher noSecondBox([](QWidget&) {}, nullptr, 1500);
    EXPECT_FALSE(WaitUntil([&] { return noSecondBox.Seen(); }, 1500));
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(Ctl(ctl::kOpen)->isEnabled());
    EXPECT_TRUE(Ctl(ctl::kClose)->isEnabled());

    Ctl<QPushButton>(ctl::kClose)->click();
    EXPECT_TRUE(Ctl(ctl::kOpen)->isEnabled());
    port.Replug();
    Ctl<QPushButton>(ctl::kOpen)->click();
    EXPECT_FALSE(Ctl(ctl::kOpen)->isEnabled()) << "COM7 did not open again";
    EXPECT_FALSE(noSecondBox.Seen());
}

TEST_F(PortTest, PortThatCannotOpenShowsTheLinkBoxAndChangesNothing) {
    PseudoPort port;  // an empty port directory besides COM7
    QString text;
    QString detail;
    ModalWatcher watcher([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            text = box->text();
            detail = box->detailedText();
            box->accept();
        }
    });
    OpenCom("255");
    EXPECT_TRUE(watcher.Seen());
    EXPECT_EQ(text, u"Cannot Open port"_qs);
    EXPECT_FALSE(detail.isEmpty());
    EXPECT_TRUE(Ctl(ctl::kOpen)->isEnabled());
    EXPECT_TRUE(Ctl<QPlainTextEdit>(ctl::kLog)->toPlainText().isEmpty());
}

}  // namespace
}  // namespace veltaro::ui
