#include "fileio/interrupt_cleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace interrupt_cleanup {
namespace {

// The handler may only touch memory that is fully written before it is marked
// in use, and may only call async-signal-safe functions (unlink, sigaction,
// raise): hence fixed buffers instead of strings.
constexpr int kSlots = 4;
char paths[kSlots][PATH_MAX];
volatile sig_atomic_t inUse[kSlots] = {0, 0, 0, 0};
bool handlersInstalled = false;
// The last words: set only while lastWordsSet is 0, then marked set.
int lastWordsFd = -1;
const char* lastWordsText = nullptr;
std::size_t lastWordsLength = 0;
volatile sig_atomic_t lastWordsSet = 0;
// The signals that end a run from outside: the terminal's interrupt and quit
// keys, a hangup, kill's default, and the file size limit, whose default
// action ends the process in the middle of a write.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ};

void removeAndDie(int signal) {
  if (lastWordsSet != 0) {
    // Best effort: a terminal that takes no more bytes does not keep the run alive.
    const ssize_t written = write(lastWordsFd, lastWordsText, lastWordsLength);
    static_cast<void>(written);
  }
  for (int slot = 0; slot < kSlots; ++slot) {
    if (inUse[slot] != 0) {
      unlink(paths[slot]);
    }
  }
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  // Still blocked while the handler runs: delivered, with its default action,
  // as soon as the handler returns.
  raise(signal);
}

void installHandlers() {
  for (int signal : kSignals) {
    struct sigaction previous {};
    if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction handler {};
    handler.sa_handler = removeAndDie;
    sigemptyset(&handler.sa_mask);
    for (int other : kSignals) {
      sigaddset(&handler.sa_mask, other);
    }
    sigaction(signal, &handler, nullptr);
  }
  handlersInstalled = true;
}

}  // namespace

int add(const char* path) {
  const std::size_t length = std::strlen(path);
  if (length >= PATH_MAX) {
    return -1;
  }
  for (int slot = 0; slot < kSlots; ++slot) {
    if (inUse[slot] == 0) {
      std::memcpy(paths[slot], path, length + 1);
      if (!handlersInstalled) {
        installHandlers();
      }
      // The name must be complete before the handler can see the slot in use.
      std::atomic_signal_fence(std::memory_order_seq_cst);
      inUse[slot] = 1;
      return slot;
    }
  }
  return -1;
}

Deferral::Deferral() {
  sigset_t blocked;
  sigemptyset(&blocked);
  for (int signal : kSignals) {
    sigaddset(&blocked, signal);
  }
  sigprocmask(SIG_BLOCK, &blocked, &saved);
}

Deferral::~Deferral() { sigprocmask(SIG_SETMASK, &saved, nullptr); }

void remove(int slot) {
  if (slot >= 0 && slot < kSlots) {
    inUse[slot] = 0;
  }
}

void setLastWords(int fd, const char* text, std::size_t length) {
  lastWordsSet = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  lastWordsFd = fd;
  lastWordsText = text;
  lastWordsLength = length;
  if (!handlersInstalled) {
    installHandlers();
  }
  std::atomic_signal_fence(std::memory_order_seq_cst);
  lastWordsSet = 1;
}

void clearLastWords() { lastWordsSet = 0; }

}  // namespace interrupt_cleanup
