// The entry comN in the port directory that maps COM port N to the simulator's slave.
//
// The port directory is the serial library's (brenlow::detail::PortDirFromEnvironment);
// it is created when missing. The entry is a symbolic link,
// removed by the destructor if it still points where this object made it point.
// Single-threaded.
#pragma once

#include <optional>
#include <string>

namespace modem_sim {

[[nodiscard]] std::string port_directory();

class PortEntry {
  public:
    // Links comN to `target`. A dangling link of that name (left by a run that was killed)
    // is replaced; anything else of that name is left alone and reported in `error`.
    [[nodiscard]] static std::optional<PortEntry> create(int com_number, const std::string& target,
                                                         std::string& error);

    PortEntry(PortEntry&& other) noexcept;
    PortEntry& operator=(PortEntry&&) = delete;
    PortEntry(const PortEntry&) = delete;
    PortEntry& operator=(const PortEntry&) = delete;
    ~PortEntry();

    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    PortEntry(std::string path, std::string target);

    std::string path_;
    std::string target_;
};

}  // namespace modem_sim
