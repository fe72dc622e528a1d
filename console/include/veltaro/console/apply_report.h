#pragma once

#include <string>
#include <vector>

namespace veltaro::console {

// A list that a window shows as it is: the confirmation before Apply and the summary after
// it. Both front ends render it; its words are made here, once.
struct ReportSection {
    std::string heading;            // "Will change (current → new)"
    std::vector<std::string> rows;  // one line per setting
};

struct Report {
    std::string title;
    std::string intro;
    std::vector<ReportSection> sections;  // empty sections are left out by the makers
};

}  // namespace veltaro::console
