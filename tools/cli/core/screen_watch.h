#pragma once

#include <string_view>

namespace veltaro::cli {

// Counts the information screens and UART information screens that the console has parsed,
// without parsing anything itself. The console shows the form once after each of its two
// screen parsers, while the screen is still in its receive buffer: first after the
// information parser, which runs when the buffer holds "Information  --", then after the
// UART parser, which runs when it holds "UART Information". So the n-th form write of one
// data-arrived message, together with those two markers in the buffer, says which parser it
// followed. Form writes outside a message are not counted, and the on-detect action's form
// write finds the buffer already emptied by the detection, so it holds neither marker.
//
// Threads: main thread only.
class ScreenWatch {
  public:
    // Around each call of the console's data-arrived handler.
    void BeginMessage();
    void EndMessage();
    // From the host's form-write observer, with the console's receive buffer at that moment.
    void FormWritten(std::string_view receiveBuffer);

    int InfoScreens() const { return m_infoScreens; }
    int UartScreens() const { return m_uartScreens; }

  private:
    bool m_inMessage = false;
    int m_writesInMessage = 0;
    int m_infoScreens = 0;
    int m_uartScreens = 0;
};

}  // namespace veltaro::cli
