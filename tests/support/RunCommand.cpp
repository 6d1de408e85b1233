#include "support/RunCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace velmora::testing {
namespace {

// The Debian package that brings each tool, so a missing one says what to install.
std::string PackageOf(const std::string& tool) {
  if (tool == "isoinfo" || tool == "genisoimage") return "genisoimage";
  if (tool == "iso-info") return "libcdio-utils";
  if (tool == "7zz") return "7zip";
  if (tool == "bsdtar") return "libarchive-tools";
  return tool;
}

std::string CommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& arg : argv) {
    if (!line.empty()) line += ' ';
    line += arg;
  }
  return line;
}

// The test's environment with each "NAME=value" of overrides replacing its namesake.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string current = *entry;
    const std::string name = current.substr(0, current.find('=') + 1);
    bool replaced = false;
    for (const std::string& setting : overrides) replaced = replaced || setting.starts_with(name);
    if (!replaced) merged.push_back(current);
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads both pipes until the child closes them; polling both keeps a child that
// fills one pipe from blocking while we wait on the other.
void Drain(int outFd, int errFd, CommandResult& result) {
  std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
  std::array<std::string*, 2> sinks{&result.out, &result.err};
  int open = 2;
  std::array<char, 65536> buffer{};
  while (open > 0) {
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "poll");
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = read(fds[i].fd, buffer.data(), buffer.size());
      if (got > 0) {
        sinks[i]->append(buffer.data(), static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment) {
  if (argv.empty()) throw std::invalid_argument("RunCommand needs a program");
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  if (pipe(errPipe) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    throw std::system_error(errno, std::generic_category(), "pipe");
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, outPipe[1]);
  posix_spawn_file_actions_addclose(&actions, errPipe[1]);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

  std::vector<std::string> args = argv;
  std::vector<std::string> env = MergedEnvironment(environment);
  std::vector<char*> argPointers = PointersTo(args);
  std::vector<char*> envPointers = PointersTo(env);
  pid_t pid = 0;
  const int spawnError = posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argPointers.data(),
                                      envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawnError != 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    if (spawnError == ENOENT) {
      throw std::runtime_error("'" + argv[0] + "' is not installed (Debian package " +
                               PackageOf(argv[0]) + "); the fixture cannot be made");
    }
    throw std::system_error(spawnError, std::generic_category(), "posix_spawnp " + argv[0]);
  }

  CommandResult result;
  Drain(outPipe[0], errPipe[0], result);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

CommandResult RunChecked(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment) {
  CommandResult result = RunCommand(argv, environment);
  if (result.exitCode != 0) {
    throw std::runtime_error(CommandLine(argv) + " exited with " + std::to_string(result.exitCode) +
                             ": " + result.err);
  }
  return result;
}

}  // namespace velmora::testing
