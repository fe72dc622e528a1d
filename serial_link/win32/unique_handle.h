#pragma once

#include <windows.h>

#include <utility>

namespace brenlow::detail {

// Owns one kernel handle (file, event or thread) and closes it when it goes. Both null and
// INVALID_HANDLE_VALUE count as none, since CreateFileA and CreateEventA differ there.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    [[nodiscard]] HANDLE Get() const { return m_handle; }
    [[nodiscard]] bool Valid() const {
        return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE;
    }
    void Reset() {
        if (Valid()) {
            ::CloseHandle(m_handle);  // nothing to do on failure: the handle is gone either way
        }
        m_handle = nullptr;
    }

  private:
    HANDLE m_handle = nullptr;
};

// A manual-reset event, not signalled, without a name: what every completion record uses.
[[nodiscard]] inline UniqueHandle MakeEvent() {
    return UniqueHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace brenlow::detail
