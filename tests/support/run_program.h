#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvanic::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The lines of a program's output, without their line ends.
std::vector<std::string> splitLines(const std::string& text);

// Runs a program to its end in `workDir`, collecting what it prints.
ProgramResult runProgram(const std::vector<std::string>& args, const std::filesystem::path& workDir);

}  // namespace orvanic::test
