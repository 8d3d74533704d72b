#pragma once

#include "acquire/poll_exchange.h"
#include "app/session.h"
#include "files/table_snapshot.h"
#include "cli/cli_options.h"

namespace orvanic::cli {

// Each command returns the process exit status; messages go to stderr,
// results to stdout.
int runIdentify(Session& session, const CliOptions& options);
int runPoll(Session& session, const CliOptions& options, PollKind kind);
int runClock(Session& session, const CliOptions& options);
int runSetClock(Session& session, const CliOptions& options);
int runArchive(Session& session, const CliOptions& options);
int runConvert(Session& session, const CliOptions& options);

// The table as the window's CSV export writes it, with the session's field
// selection; 0 on success, else after a message on stderr.
int writeCsv(const std::string& chosen, const TableSnapshot& table, const Session& session);

// Connects as the program does; on failure prints the message and returns
// false.
bool connectOrReport(Session& session);

}  // namespace orvanic::cli
