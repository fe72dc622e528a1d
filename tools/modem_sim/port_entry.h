// The entry comN in the port directory that maps COM port N to the simulator's slave.
//
// The port directory is the serial library's (brenlow::detail::PortDirFromEnvironment);
// it is created when missing. The entry is a symbolic link,
// removed by the destructor if it still points where this object made it point, together
// with its lock.
// Single-threaded.
#pragma once

#include <optional>
#include <string>

#include "unique_fd.h"

namespace modem_sim {

[[nodiscard]] std::string port_directory();

class PortEntry {
  public:
    // Links comN to `target` and holds comN.lock beside it (flock) while it lives. A link of
    // that name whose lock nobody holds (left by a run that was killed), or a dangling link,
    // is replaced; a locked one (a live simulator), or anything else, is left alone and
    // reported in `error`.
    [[nodiscard]] static std::optional<PortEntry> create(int com_number, const std::string& target,
                                                         std::string& error);

    PortEntry(PortEntry&& other) noexcept;
    PortEntry& operator=(PortEntry&&) = delete;
    PortEntry(const PortEntry&) = delete;
    PortEntry& operator=(const PortEntry&) = delete;
    ~PortEntry();

    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    PortEntry(std::string path, std::string target, UniqueFd lock);

    std::string path_;
    std::string target_;
    UniqueFd lock_;
};

}  // namespace modem_sim
