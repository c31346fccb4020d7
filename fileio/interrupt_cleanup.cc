#include "fileio/interrupt_cleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

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
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void removeAndDie(int signal) {
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
      inUse[slot] = 1;
      return slot;
    }
  }
  return -1;
}

void remove(int slot) {
  if (slot >= 0 && slot < kSlots) {
    inUse[slot] = 0;
  }
}

}  // namespace interrupt_cleanup
