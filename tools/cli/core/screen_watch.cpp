#include "screen_watch.h"

namespace veltaro::cli {
namespace {

// The markers on which the console runs its information and UART parsers.
constexpr std::string_view kInfoMarker = "Information  --";
constexpr std::string_view kUartMarker = "UART Information";

}  // namespace

void ScreenWatch::BeginMessage() {
    m_inMessage = true;
    m_writesInMessage = 0;
}

void ScreenWatch::EndMessage() {
    m_inMessage = false;
}

void ScreenWatch::FormWritten(std::string_view receiveBuffer) {
    if (!m_inMessage) {
        return;
    }
    const bool info = receiveBuffer.find(kInfoMarker) != std::string_view::npos;
    const bool uart = receiveBuffer.find(kUartMarker) != std::string_view::npos;
    const int write = m_writesInMessage++;
    if (info && write == 0) {
        ++m_infoScreens;
    } else if (uart && write == (info ? 1 : 0)) {
        ++m_uartScreens;
    }
}

}  // namespace veltaro::cli
