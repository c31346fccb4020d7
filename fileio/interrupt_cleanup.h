#ifndef FILEIO_INTERRUPT_CLEANUP_H_
#define FILEIO_INTERRUPT_CLEANUP_H_

#include <signal.h>

#include <cstddef>

// Files that must not outlive an interrupted run. While a name is registered,
// SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGXFSZ remove the file before the
// process ends by the signal as it would have without a handler (so a shell
// still sees the usual status). A signal that was ignored when the first name
// came stays ignored.
namespace interrupt_cleanup {

// Holds the cleanup signals back while it lives, so that a file made in its
// scope is registered before a signal can end the process; a signal that came
// meanwhile is delivered when it ends.
class Deferral {
 public:
  Deferral();
  ~Deferral();
  Deferral(const Deferral&) = delete;
  Deferral& operator=(const Deferral&) = delete;

 private:
  sigset_t saved;
};

// Registers a file name; returns its slot, or -1 when the name is too long or
// every slot is taken (the file is then simply not removed on a signal).
int add(const char* path);
// Forgets the name in a slot from add(); -1 is ignored.
void remove(int slot);

// Bytes written to descriptor fd when such a signal ends the run, before any
// file is removed: what erases a progress line, so that the shell's prompt
// does not land in the middle of it. text must outlive the run (a constant);
// a later call replaces an earlier one. While none is set nothing is written.
void setLastWords(int fd, const char* text, std::size_t length);
void clearLastWords();

}  // namespace interrupt_cleanup

#endif  // FILEIO_INTERRUPT_CLEANUP_H_
