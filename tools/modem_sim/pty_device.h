// The pseudo-terminal the simulated modem sits on.
//
// Owns the master, which the simulator serves, and one descriptor on the slave that it holds
// for its whole life: while any slave descriptor is open the master never reports a hang-up,
// so the program may open, close and reopen the slave as often as it likes. The slave starts
// in raw mode (no echo, no line editing, no CR/LF translation). Single-threaded.
#pragma once

#include <optional>
#include <string>

#include "unique_fd.h"

namespace modem_sim {

class PtyDevice {
  public:
    // Creates the pair; on failure returns nothing and says why in `error`.
    [[nodiscard]] static std::optional<PtyDevice> create(std::string& error);

    [[nodiscard]] int master() const { return master_.get(); }
    [[nodiscard]] const std::string& slave_path() const { return slave_path_; }
    [[nodiscard]] bool is_open() const { return master_.valid(); }

    // Closes both ends, so whoever has the slave open sees the line hang up.
    void hang_up();

  private:
    PtyDevice(UniqueFd master, UniqueFd slave, std::string slave_path);

    UniqueFd master_;
    UniqueFd slave_;
    std::string slave_path_;
};

}  // namespace modem_sim
