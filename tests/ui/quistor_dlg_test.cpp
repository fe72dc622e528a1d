// The main dialog: its controls, their start state, geometry, groups, tab order and the
// settings form's exchange.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextDocument>

#include "color_button.h"
#include "dialog_fixture.h"
#include "dialog_template.h"
#include "dialog_units.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::ui {
namespace {

namespace ctl = console::ctl;
using test::DialogTest;

TEST(DialogUnitsTest, RoundLikeMulDiv) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {111, 6, 4, 167},                      // 166.5 rounds up
        {254, 6, 4, 381},  {218, 13, 8, 354},  // 354.25
        {236, 13, 8, 384},                     // 383.5
        {-3, 6, 4, -5},                        // -4.5 rounds away from zero
        {7, -13, 8, -11},  {0, 13, 8, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

TEST_F(DialogTest, StartState) {
    EXPECT_EQ(dialog->windowTitle(), u"Ostrane - Veltaro"_qs);
    EXPECT_EQ(Ctl<QLineEdit>(ctl::kComNumber)->text(), u"1"_qs);
    for (int id : {ctl::kChannelEdit, ctl::kPowerEdit, ctl::kDestIdEdit, ctl::kPeriodEdit}) {
        EXPECT_TRUE(Ctl<QLineEdit>(id)->text().isEmpty()) << id;
    }
    for (int id : {ctl::kChannelRange, ctl::kPowerRange}) {
        EXPECT_TRUE(Ctl<QLabel>(id)->text().isEmpty()) << id;
    }
    EXPECT_TRUE(Ctl<QPlainTextEdit>(ctl::kLog)->toPlainText().isEmpty());
    const int checked[] = {ctl::kModePc, ctl::kUnitHour, ctl::kRs232,
                           ctl::kData8,  ctl::kStop1,    ctl::kParityNone};
    int checkedCount = 0;
    for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
        const bool expected = std::find(std::begin(checked), std::end(checked),
                                        radio->objectName().mid(4).toInt()) != std::end(checked);
        EXPECT_EQ(radio->isChecked(), expected) << radio->objectName().toStdString();
        checkedCount += radio->isChecked() ? 1 : 0;
    }
    EXPECT_EQ(checkedCount, 6);
    for (const ControlRow& row : MainDialogTemplate().controls) {
        if (row.id != kNoId) {
            EXPECT_TRUE(Ctl(row.id)->isEnabled()) << row.id;
            EXPECT_TRUE(Ctl(row.id)->isVisible()) << row.id;
        }
    }
    EXPECT_EQ(QApplication::focusWidget(), Ctl(ctl::kComNumber));
    EXPECT_EQ(dialog->Console().Form(), dialog->ReadForm());
}

TEST_F(DialogTest, ControlsStandAtTheTemplatePositionInPixels) {
    struct Case {
        const char* name;
        QRect pixels;
    };
    const Case cases[] = {
        {"ctl_1039", {167, 354, 30, 16}},    // "5": 111, 218, 20, 10
        {"ctl_1044", {213, 384, 41, 16}},    // "1.5": 142, 236, 27, 10
        {"ctl_1000", {74, 11, 56, 23}},      // COM number: 49, 7, 37, 14
        {"ctl_1006", {381, 75, 263, 384}},   // log pane: 254, 46, 175, 236
        {"ctl_1012", {11, 159, 138, 23}},    // PC/Device Mode Setting: 7, 98, 92, 14
        {"ctl_1001", {128, 11, 17, 26}},     // up-down: 85, 7, 11, 16
        {"static_48", {161, 405, 140, 54}},  // parity frame: 107, 249, 93, 33
        {"static_54", {398, 11, 225, 15}},   // version label: 265, 7, 150, 9
    };
    for (const Case& c : cases) {
        auto* widget = dialog->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.pixels) << c.name;
    }
    // Resizing the frame moves no control.
    const QRect log = Ctl(ctl::kLog)->geometry();
    dialog->resize(900, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(Ctl(ctl::kLog)->geometry(), log);
}

TEST_F(DialogTest, ClientAreaAndLogo) {
    EXPECT_EQ(dialog->size(), QSize(654, 471));
    auto* logo = Ctl<QLabel>(ctl::kLogo);
    EXPECT_EQ(logo->pixmap().size(), QSize(223, 30));
    EXPECT_EQ(logo->pos(), QPoint(398, 28));
}

TEST_F(DialogTest, RadioGroupsFollowTheTemplate) {
    struct Group {
        int firstId;
        std::vector<int> members;
    };
    const Group groups[] = {
        {ctl::kData5, {ctl::kData5, ctl::kData6, ctl::kData7, ctl::kData8}},
        {ctl::kStop1, {ctl::kStop1, ctl::kStop1_5, ctl::kStop2}},
        {ctl::kParityEven,
         {ctl::kParityEven, ctl::kParityOdd, ctl::kParitySpace, ctl::kParityMark,
          ctl::kParityNone}},
        {ctl::kModePc, {ctl::kModePc, ctl::kModeDevice}},
        {ctl::kUnitHour, {ctl::kUnitHour, ctl::kUnitMin, ctl::kUnitSec}},
        {ctl::kRs232, {ctl::kRs232, ctl::kRs485}},
    };
    for (const Group& g : groups) {
        for (std::size_t i = 0; i < g.members.size(); ++i) {
            auto* radio = Ctl<QAbstractButton>(g.members[i]);
            ASSERT_NE(radio->group(), nullptr) << g.members[i];
            EXPECT_EQ(radio->group()->id(radio), static_cast<int>(i)) << g.members[i];
            EXPECT_EQ(radio->group()->buttons().size(), static_cast<qsizetype>(g.members.size()));
            EXPECT_EQ(radio->group(), Ctl<QAbstractButton>(g.firstId)->group());
        }
    }
}

TEST_F(DialogTest, ClickedRadiosReadAsTheirPositions) {
    for (int id : {ctl::kModeDevice, ctl::kUnitSec, ctl::kRs485, ctl::kData6, ctl::kStop2,
                   ctl::kParityOdd}) {
        auto* radio = Ctl<QAbstractButton>(id);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
    const console::SettingsForm form = dialog->ReadForm();
    EXPECT_EQ(form.mode, 1);
    EXPECT_EQ(form.periodUnit, 2);
    EXPECT_EQ(form.interface, 1);
    EXPECT_EQ(form.dataBits, 1);
    EXPECT_EQ(form.stopBits, 2);
    EXPECT_EQ(form.parity, 1);
    EXPECT_FALSE(Ctl<QAbstractButton>(ctl::kModePc)->isChecked());
}

TEST_F(DialogTest, FormWriteThenReadGivesTheSameForm) {
    console::SettingsForm form;
    form.comNumber = "12";
    form.channel = "2A";
    form.power = "0F";
    form.destinationId = "AB123";
    form.period = "59";
    form.mode = 1;
    form.periodUnit = 2;
    form.interface = 1;
    form.dataBits = 0;
    form.stopBits = 1;
    form.parity = 3;
    form.channelRangeLabel = "HEX(01~45)";
    form.powerRangeLabel = "HEX(01~FF)";
    dialog->WriteForm(form);
    EXPECT_EQ(dialog->ReadForm(), form);
    EXPECT_EQ(Ctl<QLabel>(ctl::kChannelRange)->text(), u"HEX(01~45)"_qs);
}

TEST_F(DialogTest, IndexOutsideItsGroupChecksNoButtonAndReadsMinusOne) {
    console::SettingsForm form;
    form.mode = 2;
    form.periodUnit = -1;
    form.parity = 5;
    dialog->WriteForm(form);
    const console::SettingsForm read = dialog->ReadForm();
    EXPECT_EQ(read.mode, -1);
    EXPECT_EQ(read.periodUnit, -1);
    EXPECT_EQ(read.parity, -1);
    EXPECT_EQ(read.dataBits, 3);
    EXPECT_FALSE(Ctl<QAbstractButton>(ctl::kModePc)->isChecked());
    EXPECT_FALSE(Ctl<QAbstractButton>(ctl::kModeDevice)->isChecked());

    // The group is exclusive again afterwards.
    QTest::mouseClick(Ctl(ctl::kModePc), Qt::LeftButton, {}, QPoint(6, 8));
    QTest::mouseClick(Ctl(ctl::kModeDevice), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(dialog->ReadForm().mode, 1);
    EXPECT_FALSE(Ctl<QAbstractButton>(ctl::kModePc)->isChecked());
}

TEST_F(DialogTest, TabOrderIsTemplateOrderOfTabStops) {
    const int expected[] = {
        ctl::kComNumber,     ctl::kOpen,        ctl::kClose,           ctl::kChannelSetting,
        ctl::kPowerSetting,  ctl::kInformation, ctl::kModeSetting,     ctl::kDestIdSetting,
        ctl::kPeriodSetting, ctl::kChannelEdit, ctl::kPowerEdit,       ctl::kDestIdEdit,
        ctl::kPeriodEdit,    ctl::kLog,         ctl::kUartModeSetting, ctl::kUartInformation,
        ctl::kBitSetting,    ctl::kAllSetting,  ctl::kUartAllSetting,  ctl::kComNumber};
    ASSERT_EQ(QApplication::focusWidget(), Ctl(ctl::kComNumber));
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Ctl(expected[i])) << "step " << i;
    }
    for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
        EXPECT_FALSE(radio->focusPolicy() & Qt::TabFocus) << radio->objectName().toStdString();
    }
}

TEST_F(DialogTest, BackgroundIsLightBlueAndEditsKeepTheirs) {
    const QImage shot = dialog->grab().toImage();
    const QRgb lightBlue = qRgb(173, 216, 230);
    EXPECT_EQ(shot.pixel(5, 300), lightBlue);  // dialog background
    auto pixelIn = [&](int id, QPoint at) {
        return shot.pixel(Ctl(id)->geometry().topLeft() + at);
    };
    const QWidget* label = Ctl(ctl::kChannelRange);
    EXPECT_EQ(pixelIn(ctl::kChannelRange, QPoint(label->width() - 2, 2)), lightBlue);
    const QWidget* radio = Ctl(ctl::kRs485);
    EXPECT_EQ(pixelIn(ctl::kRs485, QPoint(radio->width() - 8, 1)), lightBlue);
    EXPECT_EQ(pixelIn(ctl::kChannelEdit, QPoint(10, 10)), qRgb(255, 255, 255));
    // A read-only edit keeps its default background, the button face.
    const QRgb buttonFace = dialog->palette().color(QPalette::Button).rgb();
    ASSERT_NE(buttonFace, qRgb(255, 255, 255));
    EXPECT_EQ(pixelIn(ctl::kLog, QPoint(30, 30)), buttonFace);

    dialog->EnableControl(ctl::kPeriodEdit, false);
    const QImage disabled = dialog->grab().toImage();
    EXPECT_EQ(disabled.pixel(Ctl(ctl::kPeriodEdit)->geometry().topLeft() + QPoint(10, 10)),
              lightBlue);
}

TEST_F(DialogTest, EveryControlUsesTheDialogFont) {
    const QFont dialogFont = dialog->font();
    for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QFontInfo shown(control->font());
        EXPECT_EQ(shown.family(), QFontInfo(dialogFont).family())
            << control->objectName().toStdString();
        EXPECT_EQ(shown.pixelSize(), QFontInfo(dialogFont).pixelSize())
            << control->objectName().toStdString();
    }
}

TEST_F(DialogTest, LogPaneScrollsLongLinesInsteadOfWrappingThem) {
    auto* log = Ctl<QPlainTextEdit>(ctl::kLog);
    dialog->AppendLog(std::string(400, 'x') + "\r\nend\r\n");
    QCoreApplication::processEvents();
    EXPECT_EQ(log->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(log->document()->lineCount(), 3);
    EXPECT_TRUE(log->verticalScrollBar()->isVisible());
    EXPECT_FALSE(log->horizontalScrollBar()->isVisible());
    EXPECT_GT(log->horizontalScrollBar()->maximum(), 0) << "the long line scrolls sideways";
}

// The window is the whole program: a normal application window (which gets a task-bar
// button), with the dialog's title, icon and frame, no minimise or maximise box.
TEST_F(DialogTest, MainWindowIsAnApplicationWindow) {
    EXPECT_EQ(dialog->windowType(), Qt::Window);
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags.testFlags(Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog->windowTitle(), u"Ostrane - Veltaro"_qs);
    EXPECT_FALSE(dialog->windowIcon().isNull());
}

TEST_F(DialogTest, ColourButtonsAreBoundWithTheirFills) {
    struct Case {
        int id;
        QRgb fill;
    };
    const QRgb green = qRgb(144, 238, 144);
    const QRgb yellow = qRgb(222, 228, 150);
    const Case cases[] = {
        {ctl::kOpen, green},
        {ctl::kClose, green},
        {ctl::kInformation, yellow},
        {ctl::kChannelSetting, green},
        {ctl::kPowerSetting, green},
        {ctl::kModeSetting, green},
        {ctl::kDestIdSetting, green},
        {ctl::kPeriodSetting, green},
        {ctl::kAllSetting, green},
        {ctl::kUartAllSetting, green},
        {ctl::kUartModeSetting, green},
        {ctl::kBitSetting, green},
        {ctl::kUartInformation, yellow},
    };
    for (const Case& c : cases) {
        auto* button = Ctl<CColorButton>(c.id);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->IsBound()) << c.id;
        EXPECT_EQ(button->Look().bevel, 2) << c.id;
        const QImage face = button->grab().toImage();
        EXPECT_EQ(face.pixel(3, face.height() / 2), c.fill) << c.id;
        EXPECT_EQ(face.pixel(0, 0), qRgb(255, 255, 255)) << c.id;
    }
}

}  // namespace
}  // namespace veltaro::ui
