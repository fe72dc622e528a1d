#pragma once

#include <ostream>

#include "exit_status.h"
#include "options.h"
#include "session.h"

namespace veltaro::cli {

// The three commands. Each prints its results on `out` and its errors through the session,
// and returns the program's exit status.
[[nodiscard]] ExitStatus RunInfo(Session& session, const Options& options, std::ostream& out);
[[nodiscard]] ExitStatus RunSet(Session& session, const Options& options, std::ostream& out);
[[nodiscard]] ExitStatus RunLog(Session& session, std::ostream& out);

}  // namespace veltaro::cli
