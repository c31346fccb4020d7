#include "tests/e2e/pty_runner.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/child_process.h"

namespace e2e {

using detail::Clock;

namespace {

std::string systemError(const char* what) { return std::string(what) + ": " + strerror(errno); }

}  // namespace

PseudoTerminal::~PseudoTerminal() {
  closeMaster();
  closeSlave();
}

bool PseudoTerminal::open(const TerminalOptions& options) {
  closeMaster();
  closeSlave();
  master_ = detail::moveAboveStdio(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error_ = systemError("posix_openpt");
    return false;
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error_ = systemError("ptsname_r");
    return false;
  }
  slave_ = detail::moveAboveStdio(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (slave_ < 0) {
    error_ = systemError(name);
    return false;
  }
  termios settings;
  if (tcgetattr(slave_, &settings) != 0) {
    error_ = systemError("tcgetattr");
    return false;
  }
  if (!options.translateNewlines) {
    settings.c_oflag &= ~static_cast<tcflag_t>(ONLCR);
  }
  if (!options.echo) {
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL);
  }
  if (tcsetattr(slave_, TCSANOW, &settings) != 0) {
    error_ = systemError("tcsetattr");
    return false;
  }
  winsize size;
  memset(&size, 0, sizeof size);
  size.ws_row = options.rows;
  size.ws_col = options.columns;
  if (ioctl(slave_, TIOCSWINSZ, &size) != 0) {
    error_ = systemError("TIOCSWINSZ");
    return false;
  }
  return true;
}

void PseudoTerminal::closeMaster() {
  if (master_ >= 0) {
    close(master_);
    master_ = -1;
  }
}

void PseudoTerminal::closeSlave() {
  if (slave_ >= 0) {
    close(slave_);
    slave_ = -1;
  }
}

std::string PseudoTerminal::drain(double timeoutSeconds) {
  std::string shown;
  const Clock::time_point deadline = detail::deadlineAfter(timeoutSeconds);
  while (master_ >= 0) {
    pollfd fd = {master_, POLLIN, 0};
    const int ready = poll(&fd, 1, detail::millisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0 || !detail::readAvailable(master_, shown)) {
      break;
    }
  }
  return shown;
}

PtySession::~PtySession() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  if (errFd_ >= 0) {
    close(errFd_);
  }
}

bool PtySession::start(const std::string& program, const PtyOptions& options) {
  return launch(detail::execBody(program, options.argv0, options.args), options);
}

bool PtySession::startFunction(const std::function<int()>& body, const PtyOptions& options) {
  return launch(detail::functionBody(body), options);
}

bool PtySession::launch(const std::function<void()>& body, const PtyOptions& options) {
  if (pid_ > 0) {
    error_ = "a program is already running in this session";
    return false;
  }
  if (!terminal_.open(options.terminal)) {
    error_ = terminal_.error();
    return false;
  }
  int errPipe[2] = {-1, -1};
  if (options.separateStderr) {
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
      error_ = systemError("pipe");
      return false;
    }
    errPipe[0] = detail::moveAboveStdio(errPipe[0]);
    errPipe[1] = detail::moveAboveStdio(errPipe[1]);
  }
  timeoutSeconds_ = options.timeoutSeconds;

  // Anything still buffered in this process's streams would otherwise be written twice.
  fflush(nullptr);
  pid_ = fork();
  if (pid_ < 0) {
    error_ = systemError("fork");
    return false;
  }
  if (pid_ == 0) {
    detail::restoreSigpipeInChild();
    // A test run started in the background of a shell inherits SIGINT and SIGQUIT ignored; a
    // program on a terminal of its own gets them from the keyboard as usual.
    signal(SIGINT, SIG_DFL);
    signal(SIGQUIT, SIG_DFL);
    const int slave = terminal_.slave();
    // A new session whose controlling terminal is the slave, as under a terminal emulator.
    if (setsid() < 0 || ioctl(slave, TIOCSCTTY, 0) != 0) {
      detail::dieInChild("controlling terminal");
    }
    if (dup2(slave, 0) < 0 || dup2(slave, 1) < 0 ||
        dup2(options.separateStderr ? errPipe[1] : slave, 2) < 0) {
      detail::dieInChild("dup2");
    }
    // A forked function never execs, so close-on-exec does not close these for it.
    terminal_.closeMaster();
    terminal_.closeSlave();
    if (options.separateStderr) {
      close(errPipe[0]);
      close(errPipe[1]);
    }
    clearerr(stdin);
    detail::enterWorkDir(options.workDir);
    body();
    _exit(127);  // not reached: the body execs or exits
  }

  // Only the child may hold the slave open: once it has closed it, reads on the master end.
  terminal_.closeSlave();
  masterOpen_ = true;
  if (options.separateStderr) {
    close(errPipe[1]);
    errFd_ = errPipe[0];
  }
  return true;
}

bool PtySession::type(const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size() && terminal_.master() >= 0) {
    const ssize_t n = write(terminal_.master(), bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return written == bytes.size();
}

bool PtySession::typeEndOfInput() { return type(std::string(1, '\x04')); }

void PtySession::pump(int timeoutMilliseconds) {
  pollfd fds[2];
  int count = 0;
  if (masterOpen_) {
    fds[count++] = {terminal_.master(), POLLIN, 0};
  }
  if (errFd_ >= 0) {
    fds[count++] = {errFd_, POLLIN, 0};
  }
  if (count == 0) {
    return;
  }
  const int ready = poll(fds, count, timeoutMilliseconds);
  if (ready <= 0) {
    return;
  }
  for (int i = 0; i < count; ++i) {
    if (fds[i].revents == 0) {
      continue;
    }
    if (fds[i].fd == errFd_) {
      if (!detail::readAvailable(errFd_, err_)) {
        close(errFd_);
        errFd_ = -1;
      }
    } else if (!detail::readAvailable(terminal_.master(), screen_)) {
      // EIO: every descriptor of the slave is closed, so nothing more can arrive.
      masterOpen_ = false;
    }
  }
}

bool PtySession::waitFor(const std::string& needle, double timeoutSeconds) {
  const Clock::time_point deadline = detail::deadlineAfter(timeoutSeconds);
  while (screen_.find(needle) == std::string::npos) {
    if ((!masterOpen_ && errFd_ < 0) || Clock::now() >= deadline) {
      return false;
    }
    pump(detail::millisecondsLeft(deadline));
  }
  return true;
}

bool PtySession::sendSignal(int signalNumber) { return pid_ > 0 && kill(pid_, signalNumber) == 0; }

ProcessResult PtySession::finish() {
  ProcessResult result;
  if (pid_ <= 0) {
    result.failure = error_.empty() ? "no program was started" : error_;
    return result;
  }
  const Clock::time_point deadline = detail::deadlineAfter(timeoutSeconds_);
  while ((masterOpen_ || errFd_ >= 0) && Clock::now() < deadline) {
    pump(detail::millisecondsLeft(deadline));
  }
  detail::reapChild(pid_, deadline, result);
  pid_ = -1;
  result.out = screen_;
  result.err = err_;
  return result;
}

ProcessResult runInTerminal(const std::string& program, const PtyOptions& options,
                            const std::string& input) {
  PtySession session;
  if (!session.start(program, options) || !session.type(input)) {
    ProcessResult result;
    result.failure = session.error().empty() ? "cannot type the input" : session.error();
    return result;
  }
  return session.finish();
}

}  // namespace e2e
