#include "wire_trace.h"

#include <chrono>
#include <cstdio>
#include <fstream>

namespace veltaro::e2e {

std::vector<WireByte> ReadWireTrace(const std::string& path, std::string* error) {
    std::vector<WireByte> bytes;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        WireByte entry;
        unsigned value = 0;
        int used = 0;
        const bool whole = std::sscanf(line.c_str(), "%lf %2x%n", &entry.ms, &value, &used) == 2 &&
                           static_cast<std::size_t>(used) == line.size();
        if (!whole) {
            if (error != nullptr) {
                *error = "bad trace line " + std::to_string(bytes.size() + 1) + ": '" + line + "'";
            }
            break;
        }
        entry.byte = static_cast<unsigned char>(value);
        bytes.push_back(entry);
    }
    return bytes;
}

std::vector<WireBurst> SplitBursts(std::span<const WireByte> bytes, double quietMs) {
    std::vector<WireBurst> bursts;
    for (const WireByte& entry : bytes) {
        if (bursts.empty() || entry.ms - bursts.back().lastMs >= quietMs) {
            bursts.push_back(WireBurst{{}, entry.ms, entry.ms});
        }
        bursts.back().bytes += static_cast<char>(entry.byte);
        bursts.back().lastMs = entry.ms;
    }
    return bursts;
}

std::string BytesOf(std::span<const WireByte> bytes) {
    std::string text;
    for (const WireByte& entry : bytes) {
        text += static_cast<char>(entry.byte);
    }
    return text;
}

double SteadyMs() {
    using Ms = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Visible(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0x1B) {
            text += "<ESC>";
        } else if (byte == '\n') {
            text += "<LF>";
        } else if (byte == '\r') {
            text += "<CR>";
        } else if (byte >= 0x20 && byte < 0x7F) {
            text += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02x>", byte);
            text += hex;
        }
    }
    return text;
}

}  // namespace veltaro::e2e
