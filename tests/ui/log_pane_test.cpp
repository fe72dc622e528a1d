// The log pane: received text always lands at the end, whatever the user does in the pane.
#include <gtest/gtest.h>

#include <string>

#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

#include "console_text.h"
#include "log_pane.h"

namespace veltaro::ui {
namespace {

TEST(ConsoleTextTest, BytesShowAsDocumented) {
    struct Case {
        std::string bytes;
        QString shown;
    };
    const Case cases[] = {
        {"OK\r\n", u"OK\n"_qs},   {"a\nb", u"a\nb"_qs},
        {"a\r\r\nb", u"a\nb"_qs}, {std::string("a\0b", 3), u"ab"_qs},
        {"\tx", u"\tx"_qs},       {"\x1b[", u"\u241b["_qs},
        {"\x7f", u"\u2421"_qs},   {"\xe9t\xe9", u"\u00e9t\u00e9"_qs},
        {"\x85", u"\ufffd"_qs},   {"", u""_qs},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeConsoleBytes(c.bytes), c.shown) << c.bytes;
    }
}

class LogPaneTest : public testing::Test {
  protected:
    void SetUp() override {
        pane.resize(260, 120);
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }

    void AppendLines(int from, int to) {
        for (int i = from; i < to; ++i) {
            pane.AppendRaw("line " + std::to_string(i) + "\r\n");
        }
    }

    void Select(int anchor, int position) {
        QTextCursor cursor(pane.document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        pane.setTextCursor(cursor);
    }

    LogPane pane;
};

TEST_F(LogPaneTest, AppendGoesToTheEndAndKeepsTheSelection) {
    pane.AppendRaw("first screen\r\n");
    Select(2, 7);  // "rst s"
    pane.AppendRaw("second screen\r\n");
    EXPECT_EQ(pane.toPlainText(), u"first screen\nsecond screen\n"_qs);
    EXPECT_EQ(pane.textCursor().anchor(), 2);
    EXPECT_EQ(pane.textCursor().position(), 7);
    EXPECT_EQ(pane.textCursor().selectedText(), u"rst s"_qs);
}

TEST_F(LogPaneTest, SelectionUpToTheEndDoesNotGrow) {
    pane.AppendRaw("abc");
    Select(1, 3);
    pane.AppendRaw("def");
    EXPECT_EQ(pane.toPlainText(), u"abcdef"_qs);
    EXPECT_EQ(pane.textCursor().selectedText(), u"bc"_qs);
    Select(3, 0);  // selected backwards from the end
    pane.AppendRaw("g");
    EXPECT_EQ(pane.textCursor().selectedText(), u"abc"_qs);
}

TEST_F(LogPaneTest, CaretInTheMiddleDoesNotRedirectTheText) {
    pane.AppendRaw("one\r\ntwo\r\n");
    Select(1, 1);
    pane.AppendRaw("three\r\n");
    EXPECT_EQ(pane.toPlainText(), u"one\ntwo\nthree\n"_qs);
    EXPECT_EQ(pane.textCursor().position(), 1);
}

TEST_F(LogPaneTest, LineEndSplitBetweenAppendsGivesOneBreak) {
    pane.AppendRaw("abc\r");
    pane.AppendRaw("\ndef");
    EXPECT_EQ(pane.toPlainText(), u"abc\ndef"_qs);
}

TEST_F(LogPaneTest, ViewFollowsOnlyWhileAtTheBottom) {
    QScrollBar* bar = pane.verticalScrollBar();
    AppendLines(0, 50);
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(3);
    AppendLines(50, 60);
    EXPECT_EQ(bar->value(), 3);

    bar->setValue(bar->maximum());
    AppendLines(60, 70);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(pane.toPlainText().endsWith(u"line 69\n"_qs));
}

}  // namespace
}  // namespace veltaro::ui
