#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "app/messages.h"

namespace orvanic {

// Writes `content` to a temporary file beside `path`, flushes it and renames
// it over `path`. On any failure the old file is untouched, no temporary is
// left behind, and the result is false.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content);

// The same for writers that make a file by name: `write` fills the
// temporary file it is given and says whether that went well.
bool writeFileAtomically(const std::filesystem::path& path, const std::function<bool(const std::filesystem::path&)>& write);

// What the operator reads when a file could not be written.
UserMessage fileNotWritten(const std::filesystem::path& file);

}  // namespace orvanic
