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

// Runs a program to its end in `workDir`, collecting what it prints.
ProgramResult runProgram(const std::vector<std::string>& args, const std::filesystem::path& workDir);

}  // namespace orvanic::test
