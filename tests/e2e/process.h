// Child processes for end-to-end tests: started with changes to the
// environment, their output kept in files, and always waited for within a
// limit, so a test can never hang on them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qv::e2e {

class Process {
public:
    // Starts argv[0] (a path) with the current environment changed by
    // environment: a value sets the variable, nullopt removes it. Standard
    // output and error go to files that Output() and Errors() read back.
    Process(const std::vector<std::string>& argv, const std::map<std::string, std::optional<std::string>>& environment);
    // Ends the process if it still runs.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // The exit code once the process has ended by itself within the limit;
    // nullopt while it still runs at the limit, or when it was ended by a signal.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    bool Running();
    // Asks the process to end (SIGTERM), and kills it if it does not soon.
    void Kill();

    std::string Output() const;
    std::string Errors() const;

private:
    pid_t pid_ = -1;
    std::optional<int> status_;  // as from waitpid, once reaped
    std::string outputPath_, errorsPath_;
};

}  // namespace qv::e2e
