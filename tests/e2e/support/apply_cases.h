#pragma once

#include <string>
#include <vector>

// The modems of the Save and Apply tests, for both front ends' end-to-end tests: a source
// and a target of the same model started with other values in every setting, so that
// applying the source's file to the target changes everything the model offers (the mode
// from PC to device included, which takes the plan's three phases).
namespace veltaro::e2e {

struct ModemValues {
    const char* model;
    std::vector<std::string> settings;  // the simulator's --set KEY=VALUE
};

// KD-35: mode, destination ID and the UART settings; its period has no control.
const ModemValues& SourceModem();
const ModemValues& TargetModem();

// The simulator's options that start a modem with these values ("--set a=b --set c=d").
std::vector<std::string> SimArgs(const ModemValues& modem);
std::string SimOptions(const ModemValues& modem);

// The settings of a profile file, as JSON text with sorted keys, the *_raw columns left
// out: equal for two files exactly when they would apply the same values. Empty when the
// file cannot be read as JSON.
// keysOf: when given, only the settings that this file has too are taken.
std::string ProfileSettings(const std::string& path, const std::string& keysOf = {});

// The source modem's settings as a profile file holds them (the version and the settings
// only: the model's names are for the reader), for tests that have no source modem.
std::string SourceProfileText();
// The target modem's settings likewise: applying it puts the target back as it started.
std::string TargetProfileText();

// What the target receives from Apply of the source's settings when Cancel is pressed
// while the second command (the power) pauses: the channel's keys, the power's keys in
// full, then the read-back of both information screens; nothing of the later commands.
inline constexpr const char* kCancelledApplyWire = "223\n41F\nBA3\x1b";

}  // namespace veltaro::e2e
