#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wire_trace.h"

// Which of the screens a modem sent reached the program's log pane.
namespace veltaro::e2e {

// The screens the modem finished, as the log pane shows text (CR left out): the bytes it
// sent, cut after each "OK" or "!!" and at each of cutsMs, where the program empties its
// receive buffer on purpose (the model's detection, the start of each command), so that what
// was pending then is not counted. A screen runs from its first rule ("--") to its "OK" or
// "!!"; the prompt between two screens is shown with the earlier one or the later one,
// depending on how the bytes fell into bursts, and is not counted. Pieces that end without
// "OK" or "!!" (menus, prompts left pending at a cut) are left out.
std::vector<std::string> FinishedScreens(std::span<const WireByte> sent,
                                         std::vector<double> cutsMs);

// The screens that the log does not show in order: each is searched after the end of the
// previous one found, line breaks left out on both sides (the program's own break in front
// of each logged excerpt may fall inside a screen).
std::vector<std::string> MissingFromLog(const std::vector<std::string>& screens,
                                        std::string_view log);

}  // namespace veltaro::e2e
