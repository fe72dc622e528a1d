#include "open_failure.h"

#include <gtest/gtest.h>

#include <windows.h>

// What the user reads for each refusal that the system can give. Under Wine a port is
// never refused as in use (it does not enforce exclusive opens of devices), so these rows
// are the only check of what a real Windows machine reports there.

namespace brenlow::detail {
namespace {

using Kind = CSerialConn::OpenError;

struct FailureCase {
    OpenStep step;
    DWORD error;
    Kind kind;
    const char* sentence;
    const char* hint;
};

TEST(OpenFailureTest, EachRefusalGetsItsKindSentenceSystemReasonAndHint) {
    for (const FailureCase& entry : {
             FailureCase{OpenStep::kOpen, ERROR_ACCESS_DENIED, Kind::kInUse,
                         "COM3 is in use by another program", "terminal program"},
             FailureCase{OpenStep::kOpen, ERROR_SHARING_VIOLATION, Kind::kInUse,
                         "COM3 is in use by another program", "close it first"},
             FailureCase{OpenStep::kOpen, ERROR_FILE_NOT_FOUND, Kind::kNotFound,
                         "No device answers at COM3", "Device Manager"},
             FailureCase{OpenStep::kOpen, ERROR_INVALID_NAME, Kind::kBadName,
                         "COM3 cannot be opened", "COM1, COM2"},
             FailureCase{OpenStep::kOpen, ERROR_GEN_FAILURE, Kind::kSystem, "COM3 cannot be opened",
                         ""},
             FailureCase{OpenStep::kReadSettings, ERROR_INVALID_FUNCTION, Kind::kNotASerialPort,
                         "COM3 is not a serial port", ""},
         }) {
        SCOPED_TRACE(entry.error);
        const OpenFailure failure = DescribeOpenFailure(entry.step, entry.error, "COM3");
        EXPECT_EQ(failure.kind, entry.kind);
        EXPECT_EQ(failure.reason.rfind(std::string(entry.sentence) + " (", 0), 0u)
            << failure.reason;
        EXPECT_NE(failure.reason.find("(" + SystemMessage(entry.error) + ")."), std::string::npos);
        EXPECT_NE(failure.reason.find(entry.hint), std::string::npos) << failure.reason;
    }
}

// The system's texts reach the program in UTF-8 whatever the language and the active code
// page (the test program runs in Windows-1252): an ANSI text would come as Latin-1 bytes or
// as question marks. Wine carries these translations of its messages.
TEST(OpenFailureTest, SystemMessageIsUtf8InEveryLanguage) {
    struct Case {
        WORD language;
        const char* word;  // UTF-8
    };
    for (const Case& entry : {
             Case{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), "Access"},
             Case{MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), "refus\xC3\xA9"},
             Case{MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), "\xD0\x94\xD0\xBE\xD1\x81"},
             Case{MAKELANGID(LANG_KOREAN, SUBLANG_DEFAULT), "\xEA\xB1\xB0\xEB\xB6\x80"},
         }) {
        SCOPED_TRACE(entry.language);
        const std::string text = SystemMessage(ERROR_ACCESS_DENIED, entry.language);
        EXPECT_NE(text.find(entry.word), std::string::npos) << text;
        EXPECT_NE(text.back(), '.') << text;
    }
}

TEST(OpenFailureTest, WideTextsBecomeUtf8) {
    const std::pair<std::wstring, std::string> cases[] = {
        {L"", ""},
        {L"COM3", "COM3"},
        {L"\u00E9\u0414\uAC70", "\xC3\xA9\xD0\x94\xEA\xB1\xB0"},
        {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},         // a pair of surrogates: one character
        {std::wstring(1, L'\xD800'), "\xEF\xBF\xBD"},  // a lone one: the replacement
    };
    for (const auto& [wide, utf8] : cases) {
        EXPECT_EQ(Utf8FromWide(wide), utf8);
    }
}

TEST(OpenFailureTest, SystemMessageIsOneCleanSentenceEvenForUnknownCodes) {
    const std::string known = SystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(known.empty());
    EXPECT_EQ(known.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(known.back(), '.');
    EXPECT_FALSE(SystemMessage(0xDEAD).empty());
}

}  // namespace
}  // namespace brenlow::detail
