#pragma once

#include "acquire/poll_exchange.h"
#include "app/session.h"
#include "cli/cli_options.h"

namespace orvanic::cli {

// Each command returns the process exit status; messages go to stderr,
// results to stdout.
int runIdentify(Session& session, const CliOptions& options);
int runPoll(Session& session, const CliOptions& options, PollKind kind);
int runClock(Session& session, const CliOptions& options);
int runSetClock(Session& session, const CliOptions& options);
int runArchive(Session& session, const CliOptions& options);

// Connects as the program does; on failure prints the message and returns
// false.
bool connectOrReport(Session& session);

}  // namespace orvanic::cli
