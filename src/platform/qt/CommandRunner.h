#pragma once
#include <string>
#include <vector>

namespace tarvok::platform {

struct CommandResult {
    bool Succeeded = false; // started, ended by itself, exit status 0
    std::string Output;     // what it wrote to standard output
};

// Runs a short command to its end. Tests replace it with a recorder.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual CommandResult Run(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

// The real one: a QProcess, given a few seconds at most.
class ProcessRunner : public CommandRunner {
public:
    CommandResult Run(const std::string& program, const std::vector<std::string>& arguments) override;
};

} // namespace tarvok::platform
