#ifndef FILEIO_REPLACING_OUTPUT_H_
#define FILEIO_REPLACING_OUTPUT_H_

#include <cstdio>
#include <string>

// An output file that replaces its target only once it is complete.
//
// A target that is a regular file, or a name that does not exist yet, is
// written through a new temporary file in the target's own directory, which
// is renamed over the target by commit(). Until then the target keeps its old
// bytes; a failed run (discard(), the destructor) or one ended by SIGINT,
// SIGTERM or SIGHUP removes the temporary file, so that no partial or empty
// output is ever left under the target's name. The new file keeps an existing
// target's permission bits (a new one gets 0666 less the umask, as with
// fopen), and a symbolic link stays a link: the file it names is replaced.
//
// A target name too long to take the temporary name's dot and suffix within
// the directory's limit on a name gets a temporary name cut to fit.
//
// Anything else (a terminal, a FIFO, a device such as /dev/null) is written
// in place, and so is a writable target in a directory where no new file can
// be made, another user's writable file in a sticky directory (where the
// rename would be refused only after the whole output was made), and a name
// that stands for an open descriptor (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N): there the target is truncated on open, as
// fopen(name, "w") does.
class ReplacingOutput {
 public:
  ReplacingOutput() = default;
  ReplacingOutput(const ReplacingOutput&) = delete;
  ReplacingOutput& operator=(const ReplacingOutput&) = delete;
  // Discards an output that was opened and not committed.
  ~ReplacingOutput();

  // Opens the output for the target name. false: errno tells why, with the
  // value that fopen(name, "w") would have set for the same target.
  bool open(const char* name);
  // The stream to write to; null before open() and after commit()/discard().
  FILE* stream() const { return out; }
  // Whether a temporary file stands in for the target.
  bool replacing() const { return !temporary.empty(); }

  // Flushes, syncs and closes the stream: every step that can find the output
  // incomplete, but the target is not touched yet. false: errno tells which
  // step failed, and the output is discarded. Lets a run finish several
  // outputs first and replace their targets only when all of them are whole.
  bool complete();
  // Completes the output (unless complete() already did) and puts it in the
  // target's place. false: errno tells which step failed; the temporary file
  // is removed and the target is left as it was (written in place, it holds
  // what was written).
  bool commit();
  // Closes the stream and removes the temporary file; the target stays as it
  // was. Does nothing when nothing is open.
  void discard();

 private:
  bool openTemporary(const std::string& target, bool exists, unsigned permissions);

  FILE* out = nullptr;
  std::string target;     // the name renamed over: a link's own target, resolved
  std::string temporary;  // empty while writing in place
  int cleanupSlot = -1;   // where the signal handler finds the temporary name
};

#endif  // FILEIO_REPLACING_OUTPUT_H_
