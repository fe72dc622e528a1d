// The native side of the Windows connection tests. It runs a Windows test program under
// Wine and plays the modems on its behalf: Wine programs cannot make pseudo-terminals, so
// the program asks for them over a TCP connection on the loopback address, one request per
// line, one answer per line.
//
//   usage: brenlow-pty-host PROGRAM ARGS...   (with WINEPREFIX set)
//
// The program learns the port from BRENLOW_PTY_HOST. Requests ("ok ..." or "error ..."):
//   new                    a pseudo-terminal: ok ID
//   link N ID | link N -   dosdevices/com(BASE+N) to it, or to a missing device: ok NAME
//   send ID HEX            the modem sends bytes
//   recv ID COUNT MS       what the connection wrote, until COUNT bytes or MS passed: ok HEX
//   line ID                the line as the device sees it: ok BAUD BITS STOP PARITY
//   hangup ID              the modem goes away (its end is closed)
// BASE is a block of ten COM numbers that this host holds in the prefix, so that tests may
// run side by side in one prefix.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host_hex.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFirstBlock = 10;  // COM10 and up: below are the prefix's own
constexpr int kBlockSize = 10;
constexpr int kBlocks = 50;

struct Pty {
    int master = -1;
    std::string slave;
};

using brenlow_test::Hex;
using brenlow_test::Unhex;

class Host {
  public:
    explicit Host(fs::path dosdevices) : m_dosdevices(std::move(dosdevices)) {}
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    [[nodiscard]] bool ReserveBlock();
    [[nodiscard]] std::string Answer(const std::string& request);

  private:
    std::string New();
    std::string Link(int number, const std::string& target);
    std::string Send(int id, const std::string& hex);
    std::string Receive(int id, std::size_t count, int ms);
    std::string Line(int id);
    std::string Hangup(int id);
    Pty* Find(int id);

    fs::path m_dosdevices;
    fs::path m_marker;
    int m_base = 0;
    std::map<int, Pty> m_ptys;
    std::vector<fs::path> m_links;
};

Host::~Host() {
    std::error_code ignored;
    for (const fs::path& link : m_links) {
        fs::remove(link, ignored);
    }
    for (auto& [id, pty] : m_ptys) {
        if (pty.master >= 0) {
            ::close(pty.master);
        }
    }
    if (!m_marker.empty()) {
        fs::remove(m_marker, ignored);
    }
}

// A block is ours when its marker could be made; a marker whose host died is taken over.
bool Host::ReserveBlock() {
    for (int block = 0; block < kBlocks; ++block) {
        const fs::path marker = m_dosdevices / (".brenlow-block" + std::to_string(block));
        int fd = ::open(marker.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            FILE* held = std::fopen(marker.c_str(), "r");
            int pid = 0;
            const bool alive = held != nullptr && std::fscanf(held, "%d", &pid) == 1 &&
                               (::kill(pid, 0) == 0 || errno == EPERM);
            if (held != nullptr) {
                std::fclose(held);
            }
            if (alive) {
                continue;
            }
            fd = ::open(marker.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
            if (fd < 0) {
                continue;
            }
        }
        const std::string pid = std::to_string(::getpid());
        const bool written =
            ::write(fd, pid.data(), pid.size()) == static_cast<ssize_t>(pid.size());
        ::close(fd);
        if (written) {
            m_marker = marker;
            m_base = kFirstBlock + block * kBlockSize;
            return true;
        }
    }
    return false;
}

Pty* Host::Find(int id) {
    const auto found = m_ptys.find(id);
    return found == m_ptys.end() || found->second.master < 0 ? nullptr : &found->second;
}

std::string Host::New() {
    Pty pty;
    pty.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    std::array<char, 128> name{};
    if (pty.master < 0 || ::grantpt(pty.master) != 0 || ::unlockpt(pty.master) != 0 ||
        ::ptsname_r(pty.master, name.data(), name.size()) != 0) {
        if (pty.master >= 0) {
            ::close(pty.master);
        }
        return "error posix_openpt";
    }
    pty.slave = name.data();
    // A new pseudo-terminal is a terminal (echo, XON/XOFF, line editing); a serial port as
    // the system finds it is raw at 9600 8N1, and the connection keeps its flow control.
    termios line{};
    if (::tcgetattr(pty.master, &line) == 0) {
        ::cfmakeraw(&line);
        ::cfsetspeed(&line, B9600);
        static_cast<void>(::tcsetattr(pty.master, TCSANOW, &line));
    }
    const int id = static_cast<int>(m_ptys.size()) + 1;
    m_ptys[id] = pty;
    return "ok " + std::to_string(id);
}

std::string Host::Link(int number, const std::string& target) {
    if (number < 0 || number >= kBlockSize) {
        return "error number";
    }
    std::string device = "/nonexistent/ttyUSB9";
    if (target != "-") {
        const Pty* pty = Find(std::stoi(target));
        if (pty == nullptr) {
            return "error id";
        }
        device = pty->slave;
    }
    const int com = m_base + number;
    const fs::path link = m_dosdevices / ("com" + std::to_string(com));
    std::error_code error;
    fs::remove(link, error);
    fs::create_symlink(device, link, error);
    if (error) {
        return "error " + error.message();
    }
    m_links.push_back(link);
    return "ok \\\\.\\COM" + std::to_string(com);
}

std::string Host::Send(int id, const std::string& hex) {
    const Pty* pty = Find(id);
    std::string bytes = hex == "-" ? "" : Unhex(hex);
    std::size_t sent = 0;
    while (pty != nullptr && sent < bytes.size()) {
        const ssize_t count = ::write(pty->master, bytes.data() + sent, bytes.size() - sent);
        if (count <= 0) {
            return "error write";
        }
        sent += static_cast<std::size_t>(count);
    }
    return pty == nullptr ? "error id" : "ok";
}

std::string Host::Receive(int id, std::size_t count, int ms) {
    const Pty* pty = Find(id);
    if (pty == nullptr) {
        return "error id";
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    std::string received;
    std::array<char, 4096> buffer{};
    do {
        pollfd entry{pty->master, POLLIN, 0};
        if (::poll(&entry, 1, 10) > 0) {
            const ssize_t got = ::read(pty->master, buffer.data(), buffer.size());
            if (got > 0) {
                received.append(buffer.data(), static_cast<std::size_t>(got));
            }
        }
    } while (received.size() < count && Clock::now() < deadline);
    return "ok " + Hex(received);
}

struct Speed {
    speed_t code;
    int baud;
};

std::string Host::Line(int id) {
    const Pty* pty = Find(id);
    termios line{};
    if (pty == nullptr || ::tcgetattr(pty->master, &line) != 0) {
        return "error id";
    }
    static constexpr std::array kSpeeds = {
        Speed{B1200, 1200},   Speed{B2400, 2400},   Speed{B9600, 9600},    Speed{B19200, 19200},
        Speed{B38400, 38400}, Speed{B57600, 57600}, Speed{B115200, 115200}};
    int baud = 0;
    for (const Speed& speed : kSpeeds) {
        baud = ::cfgetospeed(&line) == speed.code ? speed.baud : baud;
    }
    const tcflag_t size = line.c_cflag & CSIZE;
    const int bits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
    const char* parity = (line.c_cflag & PARENB) == 0   ? "none"
                         : (line.c_cflag & PARODD) != 0 ? "odd"
                                                        : "even";
    return "ok " + std::to_string(baud) + " " + std::to_string(bits) + " " +
           ((line.c_cflag & CSTOPB) != 0 ? "2" : "1") + " " + parity;
}

std::string Host::Hangup(int id) {
    Pty* pty = Find(id);
    if (pty == nullptr) {
        return "error id";
    }
    ::close(pty->master);
    pty->master = -1;
    return "ok";
}

std::string Host::Answer(const std::string& request) {
    std::istringstream words(request);
    std::string verb;
    words >> verb;
    int id = 0;
    if (verb == "new") {
        return New();
    }
    if (!(words >> id)) {
        return "error request";
    }
    std::string text;
    std::size_t count = 0;
    int ms = 0;
    if (verb == "link" && words >> text) {
        return Link(id, text);
    }
    if (verb == "send" && words >> text) {
        return Send(id, text);
    }
    if (verb == "recv" && words >> count >> ms) {
        return Receive(id, count, ms);
    }
    if (verb == "line") {
        return Line(id);
    }
    if (verb == "hangup") {
        return Hangup(id);
    }
    return "error request";
}

int Listen(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

// Serves one client until it hangs up.
void Serve(Host& host, int client) {
    std::string pending;
    std::array<char, 8192> buffer{};
    for (;;) {
        const ssize_t got = ::read(client, buffer.data(), buffer.size());
        if (got <= 0) {
            return;
        }
        pending.append(buffer.data(), static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string reply = host.Answer(pending.substr(0, end)) + "\n";
            pending.erase(0, end + 1);
            if (::write(client, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) {
                return;
            }
        }
    }
}

int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Serves clients of the program until it ends; returns its exit status.
int Run(Host& host, int listener, pid_t child) {
    for (;;) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            return ExitStatus(status);
        }
        pollfd entry{listener, POLLIN, 0};
        if (::poll(&entry, 1, 50) > 0) {
            const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                Serve(host, client);
                ::close(client);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (argc < 2 || prefix == nullptr) {
        std::fprintf(stderr, "usage: WINEPREFIX=... brenlow-pty-host PROGRAM ARGS...\n");
        return 2;
    }
    Host host(fs::path(prefix) / "dosdevices");
    int port = 0;
    const int listener = Listen(port);
    if (listener < 0 || !host.ReserveBlock()) {
        std::perror("brenlow-pty-host");
        return 2;
    }
    ::setenv("BRENLOW_PTY_HOST", std::to_string(port).c_str(), 1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        ::_exit(127);
    }
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    const int status = Run(host, listener, child);
    ::close(listener);
    return status;
}
