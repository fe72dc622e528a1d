#include "com_list.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "text_util.h"

namespace veltaro::cli {
namespace {

// The value of one number, or 0 when it is not 1 to 3 digits from 1 to 999.
int NumberOf(std::string_view text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return 0;
    }
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return IsComNumber(value) ? static_cast<int>(value) : 0;
}

std::string BadNumber(std::string_view text) {
    return "--com needs COM numbers from " + std::to_string(kLowestComNumber) + " to " +
           std::to_string(kHighestComNumber) + " (e.g. 3 or 3,5,7-12), got '" +
           QuotedInMessage(text) + "'";
}

// One item of the list: a number or a range.
std::string ParseItem(std::string_view item, std::vector<std::string>& numbers) {
    const std::size_t dash = item.find('-');
    if (dash == std::string_view::npos) {
        if (NumberOf(item) == 0) {
            return BadNumber(item);
        }
        numbers.emplace_back(item);
        return {};
    }
    const int first = NumberOf(item.substr(0, dash));
    const int last = NumberOf(item.substr(dash + 1));
    if (first == 0 || last == 0 || last < first) {
        return BadNumber(item);
    }
    for (int number = first; number <= last; ++number) {
        numbers.push_back(std::to_string(number));
    }
    return {};
}

}  // namespace

std::string ParseComList(std::string_view text, std::vector<std::string>& numbers) {
    numbers.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (std::string error = ParseItem(text.substr(start, comma - start), numbers);
            !error.empty()) {
            return error;
        }
        if (numbers.size() > kMaxPorts) {
            return "--com lists more than " + std::to_string(kMaxPorts) + " ports";
        }
        start = comma + 1;
    }
    std::set<int> seen;
    for (const std::string& number : numbers) {
        if (!seen.insert(NumberOf(number)).second) {
            return "--com lists COM" + std::to_string(NumberOf(number)) + " twice";
        }
    }
    return {};
}

}  // namespace veltaro::cli
