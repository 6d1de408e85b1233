#include "support/BackgroundCommand.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <system_error>
#include <thread>

#include "support/TextFiles.h"

extern char** environ;

namespace velmora::testing {

BackgroundCommand::BackgroundCommand(const std::vector<std::string>& argv,
                                     const std::filesystem::path& outputs)
    : outputs_(outputs) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = outputs.string() + ".out";
  const std::string err = outputs.string() + ".err";
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> args = argv;
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const int error = posix_spawnp(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    throw std::runtime_error("cannot start " + argv[0] + ": " +
                             std::generic_category().message(error));
  }
}

BackgroundCommand::~BackgroundCommand() {
  if (!done_) {
    kill(pid_, SIGKILL);
    Wait();
  }
}

bool BackgroundCommand::WaitForFile(const std::filesystem::path& file, std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  std::error_code error;
  while (std::chrono::steady_clock::now() < until) {
    if (std::filesystem::exists(file, error)) return true;
    int status = 0;
    if (!done_ && waitpid(pid_, &status, WNOHANG) == pid_) {
      done_ = true;
      status_ = status;
    }
    if (done_) return std::filesystem::exists(file, error);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void BackgroundCommand::Signal(int signal) {
  if (!done_) kill(pid_, signal);
}

int BackgroundCommand::Wait() {
  if (!done_) {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    done_ = true;
    status_ = status;
  }
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  if (WIFSIGNALED(status_)) return 128 + WTERMSIG(status_);
  return -1;
}

std::string BackgroundCommand::err() const { return FileBytes(outputs_.string() + ".err"); }

}  // namespace velmora::testing
