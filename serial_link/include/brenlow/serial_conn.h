#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "brenlow/export.h"
#include "brenlow/notify.h"
#include "brenlow/queue.h"

namespace brenlow::detail {
class SerialDevice;
class PortWatch;
}  // namespace brenlow::detail

// CSerialConn owns one serial port: it opens it with given line settings, runs a watcher
// thread that moves received bytes into m_QueueRead and posts the data-arrived message to
// m_hNotifyWnd after each burst, and writes bytes on behalf of its owner.
//
// Threads: every public operation is called from the owner's user-interface thread, except
// ReadComm, which only the watcher calls. The watcher is the only producer of m_QueueRead,
// the owner its only consumer.
//
// Lifetime: ClosePort stops the watcher and waits for it before the port is closed; the
// destructor does the same for a connection that is still open.
class BRENLOW_API CSerialConn {
  public:
    // Why the last OpenPort failed; kNone after a successful one.
    enum class OpenError {
        kNone,
        kBadName,              // neither a COM name nor an absolute path
        kNotFound,             // no device answers to the name
        kInUse,                // another program holds the device
        kPermissionDenied,     // the user may not open the device
        kNotASerialPort,       // the device has no terminal settings
        kLineSettingsRefused,  // baud rate, data bits, stop bits or parity refused
        kAlreadyOpen,          // OpenPort on an open connection
        kSystem,               // any other failure of the system
    };

    CSerialConn();
    virtual ~CSerialConn();

    CSerialConn(const CSerialConn&) = delete;
    CSerialConn& operator=(const CSerialConn&) = delete;

    // Opens the port and starts the watcher. stopBits: 0 = one, 1 = one and a half,
    // 2 = two. parity: 0 none, 1 odd, 2 even, 3 mark, 4 space. Returns 1 on success, else 0
    // with nothing left open. A device that cannot be opened shows "Cannot Open port"
    // through the message-box hook, with the reason as detail.
    int OpenPort(std::string portName, std::uint32_t baudRate, std::uint8_t byteSize,
                 std::uint8_t stopBits, std::uint8_t parity);
    // Stops and joins the watcher, restores the terminal settings, closes the port. Does
    // nothing on a closed connection.
    void ClosePort();
    // Writes length bytes; returns the count written (0 when closed).
    std::uint32_t WriteComm(const unsigned char* data, std::uint32_t length);
    // Reads what has arrived, up to capacity bytes, without blocking. Watcher only.
    std::uint32_t ReadComm(unsigned char* buffer, std::uint32_t capacity);
    // Writes text in pieces of 8 bytes; returns the text's length whatever was written.
    int sendData(std::string text);

    OpenError LastOpenError() const { return m_lastOpenError; }
    // True once the watcher saw the device go away (hang-up or error); cleared by OpenPort.
    bool HasHungUp() const { return m_hungUp.load(std::memory_order_acquire); }

    CQueue m_QueueRead;                            // filled by the watcher, drained by the owner
    CNotifyTarget* m_hNotifyWnd = nullptr;         // set by the owner before the first OpenPort
    CMessageBoxHook* m_pMessageBoxHook = nullptr;  // null: messages go to standard error

  private:
    friend struct SerialConnTestPeer;  // tests wrap the device to see single writes

    void ThreadWatchComm();
    [[nodiscard]] bool DrainIntoQueue(unsigned char* chunk, std::uint32_t chunkSize);
    void NotifyDataArrived() const;
    int FailOpen(OpenError kind, const std::string& reason, bool silent);
    [[nodiscard]] bool StartWatcher();
    // Ends the watcher and joins it. Out of line on purpose: on Windows each module carries
    // its own thread runtime, so a thread must be joined by the module that started it.
    void StopWatcher();
    void ShowMessage(const std::string& text, const std::string& detail) const;

    // Who owns what. The owner's thread writes every field below but m_hungUp; the watcher
    // reads m_device, m_watch, m_watchFailure and m_portName only between its start in OpenPort and
    // its join in ClosePort, which order those accesses. m_connected and m_hungUp cross threads
    // while both run, so they are atomics (release stores, acquire loads).
    std::unique_ptr<brenlow::detail::SerialDevice> m_device;
    std::string m_portName;
    std::atomic<std::int32_t> m_connected{0};  // written by the owner, read by the watcher
    std::unique_ptr<brenlow::detail::PortWatch> m_watch;
    std::string m_watchFailure;  // why m_watch could not be made; the watcher reports it
    std::thread m_watcher;
    std::uint32_t m_writeTimeoutPerByteMs = 0;
    OpenError m_lastOpenError = OpenError::kNone;
    std::atomic<bool> m_hungUp{false};  // written by the watcher, cleared by OpenPort
};
