// Texts that reach the Win32 program as bytes: the serial link's messages (UTF-8), or text
// in the system's code page from an older component. No byte may turn into a replacement
// character, and a serial link box shows the system's reason as the system wrote it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "box_watcher.h"
#include "message_box_hook.h"
#include "ui_texts.h"
#include "wide_text.h"

namespace veltaro::ui {
namespace {

TEST(WideTextTest, Utf8FirstThenTheCodePageThenLatin1) {
    struct Case {
        const char* bytes;
        unsigned codePage;  // the fallback
        const wchar_t* shown;
    };
    const Case cases[] = {
        {"Acc\xC3\xA8s refus\xC3\xA9", 1252, L"Acc\u00E8s refus\u00E9"},  // UTF-8 as it is
        {"Acc\xE8s refus\xE9", 1252, L"Acc\u00E8s refus\u00E9"},          // Western ANSI
        {"\xC4\xEE\xF1\xF2\xF3\xEF", 1251, L"\u0414\u043E\u0441\u0442\u0443\u043F"},  // Cyrillic
        {"\xC1\xA2\xB1\xD9", 949, L"\uC811\uADFC"},                                   // Korean
        {"caf\xE9", 932, L"caf\u00E9"},     // not valid in either: Latin-1, nothing lost
        {"caf\xE9", CP_UTF8, L"caf\u00E9"}  // a UTF-8 system: Latin-1 too
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideFromText(c.bytes, c.codePage), c.shown) << c.bytes << " " << c.codePage;
    }
}

TEST(WideTextTest, LinkBoxShowsTheSystemsReasonUnmangled) {
    Win32MessageBoxHook hook;
    test::BoxWatcher watcher(WideFromUtf8(text::kLinkBoxTitle));
    // What the serial link gives for a refused port on a Korean system.
    hook.ShowMessage("Cannot Open port", "COM3 cannot be opened (\xEC\xA0\x91\xEA\xB7\xBC).");
    ASSERT_TRUE(watcher.Seen());
    EXPECT_NE(watcher.BoxText().find(L"(\uC811\uADFC)"), std::wstring::npos);
    EXPECT_EQ(watcher.BoxText().find(L'\uFFFD'), std::wstring::npos);
}

}  // namespace
}  // namespace veltaro::ui
