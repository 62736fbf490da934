#include "tests/jet/oracle/ProgramOutput.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace Oracle {
namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

// Spawn attributes and file actions, released when they go out of scope.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  SpawnSetup() { posix_spawn_file_actions_init(&actions); }
  ~SpawnSetup() { posix_spawn_file_actions_destroy(&actions); }
};

}  // namespace

std::optional<ProgramResult> RunProgram(const std::vector<std::string>& arguments) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  Descriptor readEnd{ends[0]};
  Descriptor writeEnd{ends[1]};

  SpawnSetup setup;
  posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.fd, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &setup.actions, nullptr, argv.data(), environ) != 0) {
    return std::nullopt;
  }
  close(writeEnd.fd);
  writeEnd.fd = -1;

  ProgramResult result;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(readEnd.fd, buffer, sizeof buffer);
    if (got > 0) {
      result.standardOutput.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (result.exitStatus == 127) return std::nullopt;  // the shell-less exec failed in the child
  return result;
}

}  // namespace Oracle
