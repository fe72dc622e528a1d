#include "pty_support.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// after winsock2.h, which must come first
#include <tlhelp32.h>
#include <windows.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "host_hex.h"

namespace brenlow_test {

namespace {

// The one connection of this process to the host; requests are answered in order.
class HostLink {
  public:
    HostLink() {
        WSADATA data{};
        const char* port = std::getenv("BRENLOW_PTY_HOST");
        if (port == nullptr || ::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            return;
        }
        m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (m_socket != INVALID_SOCKET &&
            ::connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::closesocket(m_socket);
            m_socket = INVALID_SOCKET;
        }
    }

    // The answer without its "ok", or empty with failed set.
    std::string Ask(const std::string& request, bool& failed) {
        const std::lock_guard lock(m_mutex);
        const std::string line = request + "\n";
        failed = m_socket == INVALID_SOCKET ||
                 ::send(m_socket, line.data(), static_cast<int>(line.size()), 0) !=
                     static_cast<int>(line.size());
        std::string reply;
        std::array<char, 1> byte{};
        while (!failed && ::recv(m_socket, byte.data(), 1, 0) == 1 && byte[0] != '\n') {
            reply += byte[0];
        }
        failed = failed || !reply.starts_with("ok");
        return failed ? std::string() : reply.substr(reply.size() > 2 ? 3 : 2);
    }

  private:
    std::mutex m_mutex;
    SOCKET m_socket = INVALID_SOCKET;
};

HostLink& Host() {
    static HostLink link;  // lives as long as the test program
    return link;
}

std::string Ask(const std::string& request) {
    bool failed = false;
    return Host().Ask(request, failed);
}

}  // namespace

PtyPair::PtyPair() : m_id(Ask("new")) {}

bool PtyPair::SendFromModem(std::string_view bytes) {
    bool failed = false;
    static_cast<void>(Host().Ask("send " + m_id + " " + Hex(bytes), failed));
    return !failed;
}

std::string PtyPair::ReceiveAtModem(std::size_t count, Clock::duration timeout) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count();
    return Unhex(Ask("recv " + m_id + " " + std::to_string(count) + " " + std::to_string(ms)));
}

std::string PtyPair::ReceiveAvailable() {
    return Unhex(Ask("recv " + m_id + " 1000000000 0"));
}

std::string PtyPair::DeviceSettings() const {
    return Ask("line " + m_id);
}

void PtyPair::CloseMaster() {
    static_cast<void>(Ask("hangup " + m_id));
}

std::string PortDir::Link(unsigned number, const std::string& target) {
    const bool isPty =
        !target.empty() && target.find_first_not_of("0123456789") == std::string::npos;
    return Ask("link " + std::to_string(number) + " " + (isPty ? target : "-"));
}

namespace {

// One row of the system's handle table (SystemHandleInformation, class 16).
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

using QuerySystemInformation = LONG(WINAPI*)(int, PVOID, ULONG, PULONG);

// Counts this process's rows of the system's handle table: Wine answers
// GetProcessHandleCount with 0 always, but keeps this table.
int CountHandlesInSystemTable() {
    constexpr int kSystemHandleInformation = 16;
    constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> buffer(1 << 16);
    LONG status = kLengthMismatch;
    while (query != nullptr && status == kLengthMismatch && buffer.size() < (1u << 28)) {
        buffer.resize(buffer.size() * 2);
        ULONG needed = 0;
        status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       &needed);
    }
    if (query == nullptr || status != 0) {
        return -1;
    }
    ULONG rows = 0;
    std::memcpy(&rows, buffer.data(), sizeof rows);
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    int count = 0;
    for (ULONG i = 0; i < rows; ++i) {
        count += entries[i].ownerPid == ::GetCurrentProcessId() ? 1 : 0;
    }
    return count;
}

}  // namespace

// GetProcessHandleCount where it counts (Windows), else the system's handle table (Wine).
int OpenDescriptorCount() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) {
        return static_cast<int>(count);
    }
    return CountHandlesInSystemTable();
}

int ThreadCount() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more;
         more = ::Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId() ? 1 : 0;
    }
    ::CloseHandle(snapshot);
    return count;
}

std::chrono::nanoseconds ProcessCpuTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return {};
    }
    auto ticks = [](const FILETIME& time) {
        return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    return std::chrono::nanoseconds((ticks(kernel) + ticks(user)) * 100);  // 100 ns ticks
}

}  // namespace brenlow_test
