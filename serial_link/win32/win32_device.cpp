#include "win32_device.h"

#include <algorithm>

#include "open_failure.h"
#include "win32_watch.h"

namespace brenlow::detail {

namespace {

constexpr DWORD kDriverQueueSize = 4192;  // as large as the receive queue's storage
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr DWORD kPurgeInput = PURGE_RXABORT | PURGE_RXCLEAR;
constexpr DWORD kDrainPollMs = 5;

void ClearErrors(HANDLE port) {
    static_cast<void>(::ClearCommError(port, nullptr, nullptr));
}

// Reads return at once with what has arrived; a write may take 19200 / baud ms per byte.
COMMTIMEOUTS PortTimeouts(std::uint32_t baudRate) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = WriteTimeoutPerByteMs(baudRate);
    return timeouts;
}

}  // namespace

std::unique_ptr<SerialDevice> Win32SerialDevice::Open(const std::string& name,
                                                      const LineSettings& settings,
                                                      OpenFailure& failure) {
    UniqueHandle readEvent = MakeEvent();
    UniqueHandle writeEvent = MakeEvent();
    if (!readEvent.Valid() || !writeEvent.Valid()) {
        failure = DescribeOpenFailure(OpenStep::kEvents, ::GetLastError(), name);
        return nullptr;
    }
    std::unique_ptr<Win32SerialDevice> device(
        new Win32SerialDevice(std::move(readEvent), std::move(writeEvent)));
    if (!device->Prepare(name, settings, failure)) {
        return nullptr;  // the destructor closes what Prepare opened
    }
    return device;
}

bool Win32SerialDevice::Prepare(const std::string& name, const LineSettings& settings,
                                OpenFailure& failure) {
    m_port = UniqueHandle(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED,
                                        nullptr));
    if (!m_port.Valid()) {
        failure = DescribeOpenFailure(OpenStep::kOpen, ::GetLastError(), name);
        return false;
    }
    const HANDLE port = m_port.Get();
    // As on the original platform, these four are not checked: a port that takes no mask
    // or timeouts fails its first transfer, which reports it.
    static_cast<void>(::SetCommMask(port, EV_RXCHAR));
    static_cast<void>(::SetupComm(port, kDriverQueueSize, kDriverQueueSize));
    static_cast<void>(::PurgeComm(port, kPurgeAll));
    COMMTIMEOUTS timeouts = PortTimeouts(settings.baudRate);
    static_cast<void>(::SetCommTimeouts(port, &timeouts));

    DCB line{};
    line.DCBlength = sizeof line;
    if (!::GetCommState(port, &line)) {
        failure = DescribeOpenFailure(OpenStep::kReadSettings, ::GetLastError(), name);
        return false;
    }
    m_saved = line;
    line.BaudRate = settings.baudRate;
    line.ByteSize = settings.byteSize;
    line.Parity = settings.parity;
    line.StopBits = settings.stopBits;
    if (settings.baudRate == 0 || !::SetCommState(port, &line)) {
        failure = DescribeOpenFailure(OpenStep::kLineSettings, 0, name);
        return false;
    }
    return true;
}

Win32SerialDevice::~Win32SerialDevice() {
    if (!m_port.Valid()) {
        return;
    }
    static_cast<void>(::PurgeComm(m_port.Get(), m_undrained ? kPurgeAll : kPurgeInput));
    if (m_saved) {
        static_cast<void>(::SetCommState(m_port.Get(), &*m_saved));
    }
}

// Polled rather than FlushFileBuffers, which waits for as long as the device holds back.
bool Win32SerialDevice::DrainOutput(std::uint32_t timeoutPerByteMs) {
    COMSTAT status{};
    if (!::ClearCommError(m_port.Get(), nullptr, &status)) {
        m_undrained = true;
        return false;
    }
    const ULONGLONG perByteMs = std::max<std::uint32_t>(timeoutPerByteMs, 1);
    const ULONGLONG deadline = ::GetTickCount64() + perByteMs * status.cbOutQue;
    while (status.cbOutQue != 0) {
        if (::GetTickCount64() >= deadline) {
            m_undrained = true;
            return false;
        }
        ::Sleep(kDrainPollMs);
        if (!::ClearCommError(m_port.Get(), nullptr, &status)) {
            m_undrained = true;
            return false;
        }
    }
    return true;
}

std::uint32_t Win32SerialDevice::Write(const unsigned char* data, std::uint32_t length,
                                       std::uint64_t /*timeoutMs*/) {
    OVERLAPPED record{};
    record.hEvent = m_writeEvent.Get();
    const BOOL started = ::WriteFile(m_port.Get(), data, length, nullptr, &record);
    return Complete(record, started);
}

std::uint32_t Win32SerialDevice::Read(unsigned char* buffer, std::uint32_t capacity) {
    COMSTAT status{};
    if (!::ClearCommError(m_port.Get(), nullptr, &status) || status.cbInQue == 0) {
        return 0;  // nothing waiting, or a port that cannot say: either way the drain stops
    }
    OVERLAPPED record{};
    record.hEvent = m_readEvent.Get();
    const BOOL started = ::ReadFile(m_port.Get(), buffer, capacity, nullptr, &record);
    return Complete(record, started);
}

// Waits for a transfer that ReadFile or WriteFile started and returns its count. A failed
// transfer clears the port's error state, so that the next one can run.
std::uint32_t Win32SerialDevice::Complete(OVERLAPPED& record, BOOL started) {
    if (!started && ::GetLastError() != ERROR_IO_PENDING) {
        ClearErrors(m_port.Get());
        return 0;
    }
    for (;;) {
        DWORD count = 0;
        if (::GetOverlappedResult(m_port.Get(), &record, &count, TRUE)) {
            return count;
        }
        if (::GetLastError() != ERROR_IO_INCOMPLETE) {
            ClearErrors(m_port.Get());
            return count;
        }
    }
}

std::unique_ptr<PortWatch> Win32SerialDevice::CreateWatch(std::string& reason) {
    return Win32Watch::Create(m_port.Get(), reason);
}

}  // namespace brenlow::detail
