// Test helpers: run the real veltaro-modem-sim binary and talk to it through its
// pseudo-terminal with raw bytes. Every wait has a timeout. One thread.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim_test {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// A fresh directory under the temporary directory, removed with its files on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct Finished {
    int status = -1;  // exit status, or -1 when it did not end in time
    std::string out;
    std::string err;
};

// Runs the simulator with `args` to its end (for options that do not start it).
[[nodiscard]] Finished run_to_end(const std::vector<std::string>& args, Millis timeout = 5s);

class SimProcess {
  public:
    // Starts the simulator with BRENLOW_PORT_DIR set to `port_dir` and reads the slave path
    // it prints; slave_path() is empty when it did not start.
    SimProcess(const std::vector<std::string>& args, const std::string& port_dir);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    [[nodiscard]] const std::string& slave_path() const { return slave_path_; }
    [[nodiscard]] pid_t pid() const { return pid_; }

    // Opens (or reopens) the slave in raw mode; false on failure.
    bool open_port();
    void close_port();
    [[nodiscard]] int port_fd() const { return port_; }

    void send(std::string_view bytes);
    // Reads until the text received ends with the console's input marker "> ", `prompts`
    // times counted from the start; returns what came (test failure on timeout).
    std::string read_prompts(int prompts = 1, Millis timeout = 3s);
    // Sends the keys and reads the one answer that ends with "> ".
    std::string ask(std::string_view keys) {
        send(keys);
        return read_prompts();
    }
    // Asks each in turn and returns the answers in order.
    std::string ask_each(std::initializer_list<std::string_view> keys) {
        std::string answers;
        for (std::string_view key : keys) {
            answers += ask(key);
        }
        return answers;
    }
    // Collects whatever arrives until nothing has come for `quiet` (or `limit` passed).
    std::string read_quiet(Millis quiet, Millis limit = 5s);

    // Sends the signal and waits for the exit status (-1 when it did not end in time).
    int stop(int signal, Millis timeout = 5s);
    // Waits for the process to end by itself.
    int wait_exit(Millis timeout);

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = -1;
    std::string slave_path_;
};

// Path of the simulator under test.
[[nodiscard]] std::string sim_binary();

}  // namespace sim_test
