#include "e2e/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace qv::e2e {
namespace {

std::string TempPath(const char* what) {
    static int counter = 0;
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/quorvane-e2e-" + std::to_string(getpid()) + "-" +
           std::to_string(++counter) + "." + what;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

Process::Process(const std::vector<std::string>& argv,
                 const std::map<std::string, std::optional<std::string>>& environment)
    : outputPath_(TempPath("out")), errorsPath_(TempPath("err")) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        if (!environment.count(variable.substr(0, variable.find('=')))) variables.push_back(variable);
    }
    for (const auto& [name, value] : environment) {
        if (value) variables.push_back(name + "=" + *value);
    }
    std::vector<char*> args, envp;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    for (const std::string& variable : variables) envp.push_back(const_cast<char*>(variable.c_str()));
    args.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

Process::~Process() {
    Kill();
    std::remove(outputPath_.c_str());
    std::remove(errorsPath_.c_str());
}

bool Process::Running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return !status_;
}

std::optional<int> Process::WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
    return WEXITSTATUS(*status_);
}

void Process::Kill() {
    if (!Running()) return;
    // Asked first, so an X server can remove its socket and lock file.
    kill(pid_, SIGTERM);
    if (WaitForExit(std::chrono::seconds(3)) || !Running()) return;
    kill(pid_, SIGKILL);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_) status_ = status;
}

std::string Process::Output() const { return ReadFile(outputPath_); }
std::string Process::Errors() const { return ReadFile(errorsPath_); }

}  // namespace qv::e2e
