#include "tests/e2e/child_process.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace e2e {
namespace detail {

ChildBody execBody(const std::string& program, const std::string& argv0,
                   const std::vector<std::string>& args) {
  return [program, argv0, args]() {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(argv0.empty() ? program.c_str() : argv0.c_str()));
    for (const std::string& arg : args) {
      argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    dieInChild(program.c_str());
  };
}

ChildBody functionBody(const std::function<int()>& fn) {
  return [fn]() {
    const int status = fn();
    fflush(stdout);
    fflush(stderr);
    // _exit: the forked test process must not run its own exit handlers a second time.
    _exit(status);
  };
}

void enterWorkDir(const std::string& workDir) {
  if (!workDir.empty() && chdir(workDir.c_str()) != 0) {
    dieInChild(workDir.c_str());
  }
}

void dieInChild(const char* what) {
  const char* reason = strerror(errno);
  std::string message = std::string(what) + ": " + reason + "\n";
  ssize_t ignored = write(2, message.data(), message.size());
  static_cast<void>(ignored);
  _exit(127);
}

int moveAboveStdio(int fd) {
  if (fd < 0 || fd > 2) {
    return fd;
  }
  const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  close(fd);
  return moved;
}

bool readAvailable(int fd, std::string& sink) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      sink.append(buffer, static_cast<size_t>(n));
      return true;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return true;
    }
    return false;  // end of file, EIO from a pty master, or another error
  }
}

Clock::time_point deadlineAfter(double seconds) {
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

int millisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::max<long long>(0, std::min<long long>(left, 1000 * 1000)));
}

void reapChild(pid_t pid, Clock::time_point deadline, ProcessResult& result) {
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      break;
    }
    if (done < 0 && errno != EINTR) {
      result.failure = std::string("waitpid: ") + strerror(errno);
      return;
    }
    if (Clock::now() >= deadline) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.termSignal = WTERMSIG(status);
  }
}

IgnoreSigpipe::IgnoreSigpipe() {
  struct sigaction ignore;
  memset(&ignore, 0, sizeof ignore);
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &saved_);
}

IgnoreSigpipe::~IgnoreSigpipe() { sigaction(SIGPIPE, &saved_, nullptr); }

void restoreSigpipeInChild() {
  // An ignored signal stays ignored across exec, so the child must undo what the parent did.
  signal(SIGPIPE, SIG_DFL);
}

}  // namespace detail
}  // namespace e2e
