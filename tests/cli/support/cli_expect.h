#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace veltaro::cli::testing {

// Exit statuses, as documented in --help.
inline constexpr int kOk = 0, kUsage = 2, kPortNotFound = 3, kPortInUse = 4, kNoModel = 7,
                     kHungUp = 8, kNoSettings = 9, kValueRefused = 10, kKeyNotOffered = 11,
                     kModemRefused = 13, kOutputFailed = 14, kSomePortsFailed = 15,
                     kInterrupted = 130;

inline std::string Describe(const ChildProcess::Result& r) {
    return "status " + std::to_string(r.status) + (r.timedOut ? " (timed out)" : "") +
           "\n--- stdout\n" + r.out + "--- stderr\n" + r.err;
}

inline void ExpectHas(const std::string& text, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        EXPECT_NE(text.find(part), std::string::npos) << "missing: " << part << "\nin:\n" << text;
    }
}

inline void ExpectLacks(const std::string& text, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        EXPECT_EQ(text.find(part), std::string::npos) << "unexpected: " << part << "\nin:\n"
                                                      << text;
    }
}

}  // namespace veltaro::cli::testing
