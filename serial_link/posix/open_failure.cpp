#include "open_failure.h"

#include <grp.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <system_error>
#include <vector>

namespace brenlow::detail {

namespace {

using Kind = CSerialConn::OpenError;

constexpr int kAnyError = 0;

struct Rule {
    OpenStep step;
    int err;  // kAnyError matches every errno
    Kind kind;
    const char* why;  // said instead of the system's message; null: the system's message
};

// First match wins; every step ends with a catch-all.
constexpr std::array kRules = {
    Rule{OpenStep::kOpen, ENOENT, Kind::kNotFound, nullptr},
    Rule{OpenStep::kOpen, ENXIO, Kind::kNotFound, nullptr},
    Rule{OpenStep::kOpen, ENODEV, Kind::kNotFound, nullptr},
    Rule{OpenStep::kOpen, ENOTDIR, Kind::kNotFound, nullptr},
    Rule{OpenStep::kOpen, ELOOP, Kind::kNotFound, nullptr},
    Rule{OpenStep::kOpen, EIO, Kind::kNotFound, nullptr},
    Rule{OpenStep::kOpen, EACCES, Kind::kPermissionDenied, nullptr},
    Rule{OpenStep::kOpen, EPERM, Kind::kPermissionDenied, nullptr},
    Rule{OpenStep::kOpen, EROFS, Kind::kPermissionDenied, nullptr},
    Rule{OpenStep::kOpen, EBUSY, Kind::kInUse, "it is held for exclusive use"},
    Rule{OpenStep::kOpen, EISDIR, Kind::kNotASerialPort, nullptr},
    Rule{OpenStep::kOpen, kAnyError, Kind::kSystem, nullptr},
    Rule{OpenStep::kLock, EWOULDBLOCK, Kind::kInUse, "another program holds its lock"},
    Rule{OpenStep::kLock, kAnyError, Kind::kSystem, nullptr},
    Rule{OpenStep::kExclusive, ENOTTY, Kind::kNotASerialPort, nullptr},
    Rule{OpenStep::kExclusive, EINVAL, Kind::kNotASerialPort, nullptr},
    Rule{OpenStep::kExclusive, EIO, Kind::kNotFound, nullptr},
    Rule{OpenStep::kExclusive, kAnyError, Kind::kSystem, nullptr},
    Rule{OpenStep::kReadSettings, ENOTTY, Kind::kNotASerialPort, nullptr},
    Rule{OpenStep::kReadSettings, EINVAL, Kind::kNotASerialPort, nullptr},
    Rule{OpenStep::kReadSettings, EIO, Kind::kNotFound, nullptr},
    Rule{OpenStep::kReadSettings, kAnyError, Kind::kSystem, nullptr},
    Rule{OpenStep::kLineSettings, kAnyError, Kind::kLineSettingsRefused, nullptr},
};

const Rule& FindRule(OpenStep step, int err) {
    for (const Rule& rule : kRules) {
        if (rule.step == step && (rule.err == err || rule.err == kAnyError)) {
            return rule;
        }
    }
    return kRules.back();  // unreachable: every step has a catch-all
}

std::string GroupHint(const std::string& path) {
    const std::string group = OwningGroupName(path);
    if (group.empty() || group == "root") {
        return "usually `dialout`";
    }
    return "`" + group + "`";
}

std::string Sentence(Kind kind, const std::string& path) {
    switch (kind) {
        case Kind::kNotFound:
            return "No device answers at " + path;
        case Kind::kInUse:
            return path + " is in use by another program";
        case Kind::kPermissionDenied:
            return "This user may not open " + path;
        case Kind::kNotASerialPort:
            return path + " is not a serial port";
        case Kind::kLineSettingsRefused:
            return path + " refused the line settings";
        default:
            return path + " cannot be opened";
    }
}

std::string Advice(Kind kind, const std::string& path) {
    if (kind == Kind::kPermissionDenied) {
        return " Add your user to the group that owns the device, " + GroupHint(path) +
               ", and log in again.";
    }
    if (kind == Kind::kInUse) {
        return " Close the other program first.";
    }
    return {};
}

}  // namespace

OpenFailure DescribeOpenFailure(OpenStep step, int err, const std::string& path) {
    const Rule& rule = FindRule(step, err);
    std::string reason = Sentence(rule.kind, path);
    if (rule.why != nullptr) {
        reason += std::string(" (") + rule.why + ")";
    } else if (err != 0) {
        reason += " (" + std::generic_category().message(err) + ")";
    }
    return {rule.kind, reason + "." + Advice(rule.kind, path)};
}

std::string OwningGroupName(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    struct group entry {};
    struct group* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->gr_name == nullptr) {
        return {};
    }
    return found->gr_name;
}

}  // namespace brenlow::detail
