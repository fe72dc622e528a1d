// ChildProcess on Windows: CreateProcessW with pipes for both outputs, read by a thread each,
// in a process group of its own in the test's console so that Ctrl-C reaches it alone.
#include "child_process.h"

#include <windows.h>

#include <csignal>
#include <mutex>
#include <string>
#include <thread>

namespace veltaro::cli::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return wide;
}

// One argument as CommandLineToArgvW splits it back: quotes around it, a quote escaped, and
// the backslashes before a quote (or the closing one) doubled.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// Inheritable handles go to every child made while they exist: the pipes of one child
// must not reach another started at the same moment, or its output never ends.
std::mutex& CreationLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

struct ChildProcess::State {
    PROCESS_INFORMATION process{};
    std::mutex mutex;  // guards result's texts and closeOutAfter
    Result result;
    HANDLE outRead = nullptr;
    HANDLE errRead = nullptr;
    std::size_t closeOutAfter = static_cast<std::size_t>(-1);
    std::thread outReader;
    std::thread errReader;

    void Read(HANDLE pipe, bool isOut);
    std::string Text(bool isOut) {
        const std::lock_guard lock(mutex);
        return isOut ? result.out : result.err;
    }
};

// Polls rather than blocks, so that the test can close the reading end at any moment, as
// `| head -c N` does, without pulling the handle from under a blocked ReadFile.
void ChildProcess::State::Read(HANDLE pipe, bool isOut) {
    char buffer[4096];
    for (;;) {
        {
            const std::lock_guard lock(mutex);
            if (isOut && result.out.size() >= closeOutAfter) {
                break;
            }
        }
        DWORD available = 0;
        DWORD got = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            // The child has closed its end; what it wrote before can still be read (Wine's
            // peek fails at once, with bytes left), and then the read fails too.
            while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
                const std::lock_guard lock(mutex);
                (isOut ? result.out : result.err).append(buffer, got);
            }
            break;
        }
        if (available == 0) {
            Sleep(10);
        } else if (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            const std::lock_guard lock(mutex);
            (isOut ? result.out : result.err).append(buffer, got);
        }
    }
    CloseHandle(pipe);
}

bool ChildProcess::Supports(Stdout stdoutTo) {
    return stdoutTo != Stdout::kDevFull;
}

std::size_t ChildProcess::LongestCommandLine() {
    return 32767;
}

bool ChildProcess::Started() const {
    return m_state->process.hProcess != nullptr;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>&, Stdout stdoutTo)
    : m_state(std::make_unique<State>()) {
    std::wstring commandLine = Quoted(Wide(program));
    for (const std::string& arg : args) {
        commandLine += L" " + Quoted(Wide(arg));
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outWrite = nullptr;
    HANDLE errWrite = nullptr;
    const std::lock_guard creation(CreationLock());
    if (!CreatePipe(&m_state->outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&m_state->errRead, &errWrite, &inherit, 0)) {
        return;
    }
    SetHandleInformation(m_state->outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_state->errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = stdoutTo == Stdout::kPipe ? outWrite : nullptr;
    startup.hStdError = errWrite;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &m_state->process)) {
        m_state->process = {};
    }
    for (const HANDLE handle : {outWrite, errWrite, input}) {
        CloseHandle(handle);
    }
    m_state->outReader =
        std::thread([state = m_state.get()] { state->Read(state->outRead, true); });
    m_state->errReader =
        std::thread([state = m_state.get()] { state->Read(state->errRead, false); });
}

ChildProcess::~ChildProcess() {
    if (Started()) {
        TerminateProcess(m_state->process.hProcess, 137);
        WaitForSingleObject(m_state->process.hProcess, 5000);
    }
    CloseStdoutAfter(0);
    for (std::thread* reader : {&m_state->outReader, &m_state->errReader}) {
        if (reader->joinable()) {
            reader->join();
        }
    }
    for (const HANDLE handle : {m_state->process.hProcess, m_state->process.hThread}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
}

bool ChildProcess::WaitForOutput(std::string_view needle, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    do {
        if (m_state->Text(true).find(needle) != std::string::npos ||
            m_state->Text(false).find(needle) != std::string::npos) {
            return true;
        }
        Sleep(20);
    } while (Clock::now() < deadline);
    return false;
}

void ChildProcess::Signal(int signal) {
    if (Started()) {
        GenerateConsoleCtrlEvent(signal == SIGINT ? CTRL_C_EVENT : CTRL_BREAK_EVENT,
                                 m_state->process.dwProcessId);
    }
}

void ChildProcess::CloseStdoutAfter(std::size_t bytes) {
    const std::lock_guard lock(m_state->mutex);
    m_state->closeOutAfter = bytes;
}

ChildProcess::Result ChildProcess::Finish(std::chrono::milliseconds limit) {
    if (!Started()) {
        return m_state->result;
    }
    const DWORD waited =
        WaitForSingleObject(m_state->process.hProcess, static_cast<DWORD>(limit.count()));
    if (waited != WAIT_OBJECT_0) {
        m_state->result.timedOut = true;
        TerminateProcess(m_state->process.hProcess, 137);
        WaitForSingleObject(m_state->process.hProcess, 5000);
    }
    DWORD code = 1;
    GetExitCodeProcess(m_state->process.hProcess, &code);
    m_state->result.status = static_cast<int>(code);
    // The pipes reach their end once the child is gone.
    for (std::thread* reader : {&m_state->outReader, &m_state->errReader}) {
        if (reader->joinable()) {
            reader->join();
        }
    }
    const std::lock_guard lock(m_state->mutex);
    return m_state->result;
}

}  // namespace veltaro::cli::testing
