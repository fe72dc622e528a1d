#include "brenlow/serial_conn.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <utility>

#include "serial_device.h"

namespace {

constexpr const char* kCannotOpen = "Cannot Open port";
constexpr std::size_t kPieceSize = 8;  // sendData writes at most this much at a time

}  // namespace

CSerialConn::CSerialConn() = default;

CSerialConn::~CSerialConn() {
    ClosePort();
}

int CSerialConn::OpenPort(std::string portName, std::uint32_t baudRate, std::uint8_t byteSize,
                          std::uint8_t stopBits, std::uint8_t parity) {
    if (m_connected.load(std::memory_order_relaxed) != 0) {
        m_lastOpenError = OpenError::kAlreadyOpen;  // leave the open port untouched
        return 0;
    }
    m_portName = std::move(portName);
    m_hungUp.store(false, std::memory_order_relaxed);

    brenlow::detail::OpenFailure failure;
    m_device = brenlow::detail::OpenSerialDevice(m_portName, {baudRate, byteSize, stopBits, parity},
                                                 failure);
    if (!m_device) {
        return FailOpen(failure.kind, failure.reason, failure.silent);
    }
    m_writeTimeoutPerByteMs = brenlow::detail::WriteTimeoutPerByteMs(baudRate);
    m_lastOpenError = OpenError::kNone;

    m_watchFailure.clear();
    m_watch = m_device->CreateWatch(m_watchFailure);
    m_connected.store(1, std::memory_order_release);
    // Without its wait machinery the watcher only reports that and ends (watcher.cpp): the
    // port stays open and OpenPort succeeds, but nothing is received until the port is
    // closed and opened again.
    if (!StartWatcher()) {
        ClosePort();
        m_lastOpenError = OpenError::kSystem;
        return 0;
    }
    return 1;
}

bool CSerialConn::StartWatcher() {
    try {
        m_watcher = std::thread(&CSerialConn::ThreadWatchComm, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

int CSerialConn::FailOpen(OpenError kind, const std::string& reason, bool silent) {
    m_lastOpenError = kind;
    // Refused line settings and the connection's own bookkeeping fail silently; every other
    // failure tells the user why.
    if (!silent && kind != OpenError::kLineSettingsRefused) {
        ShowMessage(kCannotOpen, reason);
    }
    return 0;
}

void CSerialConn::ClosePort() {
    if (m_connected.load(std::memory_order_relaxed) == 0) {
        return;
    }
    StopWatcher();
    m_watch.reset();
    // What the owner wrote last (a value's line end, a closing ESC) must reach the modem.
    if (m_device) {
        static_cast<void>(m_device->DrainOutput(m_writeTimeoutPerByteMs));
    }
    m_device.reset();  // empties the input, restores the settings, releases the hold, closes
}

void CSerialConn::StopWatcher() {
    m_connected.store(0, std::memory_order_release);
    if (m_watch) {
        m_watch->Wake();
    }
    if (m_watcher.joinable()) {
        m_watcher.join();
    }
}

std::uint32_t CSerialConn::WriteComm(const unsigned char* data, std::uint32_t length) {
    if (m_connected.load(std::memory_order_relaxed) == 0 || !m_device || length == 0) {
        return 0;
    }
    const std::uint64_t timeoutMs = std::uint64_t{m_writeTimeoutPerByteMs} * length;
    return m_device->Write(data, length, timeoutMs);
}

std::uint32_t CSerialConn::ReadComm(unsigned char* buffer, std::uint32_t capacity) {
    if (!m_device || capacity == 0) {
        return 0;
    }
    return m_device->Read(buffer, capacity);
}

int CSerialConn::sendData(std::string text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    for (std::size_t offset = 0; offset < length; offset += kPieceSize) {
        const auto piece = static_cast<std::uint32_t>(std::min(kPieceSize, length - offset));
        // The owner learns nothing of a failed piece: the result is the text's length.
        static_cast<void>(WriteComm(bytes + offset, piece));
    }
    return static_cast<int>(length);
}

void CSerialConn::ShowMessage(const std::string& text, const std::string& detail) const {
    if (m_pMessageBoxHook != nullptr) {
        m_pMessageBoxHook->ShowMessage(text, detail);
        return;
    }
    if (detail.empty()) {
        std::fprintf(stderr, "%s\n", text.c_str());
    } else {
        std::fprintf(stderr, "%s: %s\n", text.c_str(), detail.c_str());
    }
}
