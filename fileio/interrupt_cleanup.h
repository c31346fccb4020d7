#ifndef FILEIO_INTERRUPT_CLEANUP_H_
#define FILEIO_INTERRUPT_CLEANUP_H_

// Files that must not outlive an interrupted run. While a name is registered,
// SIGINT, SIGTERM and SIGHUP remove the file before the process ends by the
// signal as it would have without a handler (so a shell still sees the usual
// status). A signal that was ignored when the first name came stays ignored.
namespace interrupt_cleanup {

// Registers a file name; returns its slot, or -1 when the name is too long or
// every slot is taken (the file is then simply not removed on a signal).
int add(const char* path);
// Forgets the name in a slot from add(); -1 is ignored.
void remove(int slot);

}  // namespace interrupt_cleanup

#endif  // FILEIO_INTERRUPT_CLEANUP_H_
