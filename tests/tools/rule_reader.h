// A small reader of the simulator's output that follows, to the letter, the rules by which
// the configuration program reads a modem console: one data-arrived message at a time,
// model code in front of "CONFIGURATION", one screen end per message, log excerpts, the
// information and UART information blocks read at fixed offsets. Written for these tests
// alone, so that they check the screens against the rules rather than against the screens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim_test {

// Form values as the program would hold them; -1 marks an index never set.
struct ReadForm {
    std::string channel;
    std::string power;
    std::string dest_id;
    std::string period;
    int mode = -1;  // 0 PC, 1 Device
    int unit = -1;  // 0 HOR, 1 MIN, 2 SEC
    int interface = -1;
    int data_bits = -1;  // 0..3 for 5..8
    int stop_bits = -1;  // 0..2 for 1, 1.5, 2
    int parity = -1;     // 0..4 for Even, Odd, Space, Mark, Non
};

class RuleReader {
  public:
    // One data-arrived message that brings `chunk`.
    void message(std::string_view chunk);

    bool awaiting_model = true;
    std::string model;
    std::string buffer;
    std::vector<std::string> log;  // one excerpt per screen end handled
    ReadForm form;
    int information_reads = 0;
    int uart_reads = 0;

  private:
    void read_information(const std::string& block);
    void read_uart(const std::string& block);
};

}  // namespace sim_test
