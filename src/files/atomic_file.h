#pragma once

#include <filesystem>
#include <string_view>

namespace orvanic {

// Writes `content` to a temporary file beside `path`, flushes it and renames
// it over `path`. On any failure the old file is untouched, no temporary is
// left behind, and the result is false.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace orvanic
