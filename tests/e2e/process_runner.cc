#include "tests/e2e/process_runner.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/child_process.h"

namespace e2e {

using detail::Clock;

namespace {

// Both ends of a pipe, closed on destruction. Descriptors are close-on-exec: the child keeps only
// what it has duplicated onto 0, 1 and 2.
struct Pipe {
  int fd[2] = {-1, -1};

  bool open() {
    if (pipe2(fd, O_CLOEXEC) != 0) {
      return false;
    }
    // The calling process may run with a standard stream closed, so a new pipe can land there.
    fd[0] = detail::moveAboveStdio(fd[0]);
    fd[1] = detail::moveAboveStdio(fd[1]);
    return fd[0] >= 0 && fd[1] >= 0;
  }
  void close(int end) {
    if (fd[end] >= 0) {
      ::close(fd[end]);
      fd[end] = -1;
    }
  }
  ~Pipe() {
    close(0);
    close(1);
  }
};

// In the child: makes target (0, 1 or 2) refer to what path names, opened with flags.
void redirectToPath(int target, const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) {
    detail::dieInChild(path.c_str());
  }
  if (dup2(fd, target) < 0) {
    detail::dieInChild("dup2");
  }
  ::close(fd);
}

void redirectToPipe(int target, int fd) {
  if (dup2(fd, target) < 0) {
    detail::dieInChild("dup2");
  }
}

ProcessResult run(const detail::ChildBody& body, const RunOptions& options) {
  ProcessResult result;
  Pipe in, out, err;
  const bool feedInput = options.input.kind == StdinSource::Kind::kBytes;
  const bool captureOutput = options.output.kind == StdoutSink::Kind::kCapture;
  if ((feedInput && !in.open()) || (captureOutput && !out.open()) || !err.open()) {
    result.failure = std::string("pipe: ") + strerror(errno);
    return result;
  }

  detail::IgnoreSigpipe ignoreSigpipe;
  // Anything still buffered in this process's streams would otherwise be written twice.
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    result.failure = std::string("fork: ") + strerror(errno);
    return result;
  }
  if (pid == 0) {
    detail::restoreSigpipeInChild();
    switch (options.input.kind) {
      case StdinSource::Kind::kNullDevice:
        redirectToPath(0, "/dev/null", O_RDONLY);
        break;
      case StdinSource::Kind::kBytes:
        redirectToPipe(0, in.fd[0]);
        break;
      case StdinSource::Kind::kFile:
        redirectToPath(0, options.input.data, O_RDONLY);
        break;
    }
    switch (options.output.kind) {
      case StdoutSink::Kind::kCapture:
        redirectToPipe(1, out.fd[1]);
        break;
      case StdoutSink::Kind::kNullDevice:
        redirectToPath(1, "/dev/null", O_WRONLY);
        break;
      case StdoutSink::Kind::kFile:
        redirectToPath(1, options.output.path, O_WRONLY | O_CREAT | O_TRUNC);
        break;
    }
    redirectToPipe(2, err.fd[1]);
    // A forked function never execs, so close-on-exec does not help there: without this the
    // child would hold the write end of its own standard input open and never see its end.
    for (Pipe* pipe : {&in, &out, &err}) {
      pipe->close(0);
      pipe->close(1);
    }
    clearerr(stdin);
    detail::enterWorkDir(options.workDir);
    body();
    _exit(127);  // not reached: the body execs or exits
  }

  in.close(0);
  out.close(1);
  err.close(1);
  const Clock::time_point deadline = detail::deadlineAfter(options.timeoutSeconds);
  size_t written = 0;
  if (feedInput) {
    fcntl(in.fd[1], F_SETFL, fcntl(in.fd[1], F_GETFL) | O_NONBLOCK);
    if (options.input.data.empty()) {
      in.close(1);
    }
  }
  while (in.fd[1] >= 0 || out.fd[0] >= 0 || err.fd[0] >= 0) {
    pollfd fds[3];
    int count = 0;
    for (int fd : {out.fd[0], err.fd[0]}) {
      if (fd >= 0) {
        fds[count++] = {fd, POLLIN, 0};
      }
    }
    if (in.fd[1] >= 0) {
      fds[count++] = {in.fd[1], POLLOUT, 0};
    }
    const int ready = poll(fds, count, detail::millisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      break;  // timed out (reapChild kills the child) or poll failed
    }
    for (int i = 0; i < count; ++i) {
      if (fds[i].revents == 0) {
        continue;
      }
      if (fds[i].fd == in.fd[1]) {
        const std::string& data = options.input.data;
        const ssize_t n = write(in.fd[1], data.data() + written, data.size() - written);
        if (n > 0) {
          written += static_cast<size_t>(n);
        }
        // Stop feeding once everything is written, or when the child closed its end (EPIPE).
        if (written == data.size() || (n < 0 && errno != EAGAIN && errno != EINTR)) {
          in.close(1);
        }
      } else if (fds[i].fd == out.fd[0]) {
        if (!detail::readAvailable(out.fd[0], result.out)) {
          out.close(0);
        }
      } else if (fds[i].fd == err.fd[0]) {
        if (!detail::readAvailable(err.fd[0], result.err)) {
          err.close(0);
        }
      }
    }
  }
  detail::reapChild(pid, deadline, result);
  return result;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const ProcessResult& result) {
  os << "{exitStatus=" << result.exitStatus << " termSignal=" << result.termSignal
     << " timedOut=" << result.timedOut;
  if (!result.failure.empty()) {
    os << " failure=\"" << result.failure << '"';
  }
  return os << "\nstdout=[" << result.out << "]\nstderr=[" << result.err << "]}";
}

ProcessResult runProgram(const std::string& program, const RunOptions& options) {
  return run(detail::execBody(program, options.argv0, options.args), options);
}

ProcessResult runFunction(const std::function<int()>& body, const RunOptions& options) {
  return run(detail::functionBody(body), options);
}

}  // namespace e2e
