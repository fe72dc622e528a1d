#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The simulator's traces as data: one byte per line, "<ms> <xx>", ms on the steady clock
// (CLOCK_MONOTONIC, which this process's std::chrono::steady_clock shares). Pure functions.
namespace veltaro::e2e {

struct WireByte {
    double ms = 0;
    unsigned char byte = 0;
};

// The bytes of a trace file in order. A line that does not read as "<ms> <xx>" ends the
// read and is described in *error (when given); a missing file reads as empty.
std::vector<WireByte> ReadWireTrace(const std::string& path, std::string* error = nullptr);

// Bytes that followed each other with gaps shorter than quietMs, as one burst: on the
// receiving side, one keystroke or value and whatever was sent with it without a pause.
struct WireBurst {
    std::string bytes;
    double firstMs = 0;
    double lastMs = 0;
};
std::vector<WireBurst> SplitBursts(std::span<const WireByte> bytes, double quietMs);

std::string BytesOf(std::span<const WireByte> bytes);

// Now, on the traces' clock, in milliseconds.
double SteadyMs();

// For messages: printable ASCII as it is, everything else as <ESC>, <LF>, <CR> or <xx>.
std::string Visible(std::string_view bytes);

}  // namespace veltaro::e2e
