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

TEST(OpenFailureTest, SystemMessageIsOneCleanSentenceEvenForUnknownCodes) {
    const std::string known = SystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(known.empty());
    EXPECT_EQ(known.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(known.back(), '.');
    EXPECT_FALSE(SystemMessage(0xDEAD).empty());
}

}  // namespace
}  // namespace brenlow::detail
