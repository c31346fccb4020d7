#ifndef FILEIO_OUTPUT_FILE_H_
#define FILEIO_OUTPUT_FILE_H_

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "fileio/replacing_output.h"

// The output of a run, as every program of the project treats it: standard
// output, or the file named with -o, which takes its target's place only when
// the run succeeds (ReplacingOutput tells how). The first failed write is held
// here until the output is finished, and every failure is worded here, alike
// in all programs: a headline that names the output, escaped as messages
// quote names, and the system's reason in parentheses on the next line.
class OutputFile {
 public:
  enum class Opening {
    kOpened,
    kDeclined,  // the overwrite question was answered no
    kRefused,   // message() tells why
  };

  // What open() checks before the target is touched.
  struct Checks {
    // The files the run reads ("-" is standard input). An output that is one
    // of them (the same device and inode: through links, and the file that
    // standard input is redirected from) is refused, so that no run destroys
    // its own input.
    std::vector<std::string> inputs;
    // The outputs the run opened before this one. An output that is one of
    // them under another spelling ("x" and "./x", a link) is refused, so that
    // neither is lost to the other; for a name that does not exist yet, the
    // same name in the same directory counts as the same file.
    std::vector<std::string> outputs;
    // Asked about a target that exists (one that can be opened for reading);
    // false declines the run. Null asks nothing.
    bool (*mayOverwrite)(const char* name) = nullptr;
  };

  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens the file name for writing, or standard output when name is null.
  Opening open(const char* name, const Checks& checks);
  // Where to write; null until open() has succeeded.
  FILE* stream() const { return out; }
  // To be called after a write to stream() failed, with errno as the write
  // left it: the first failure is the one reported.
  void writeFailed();
  // Ends the output. After a failed run the target is left as it was and
  // nothing more is reported. After a successful one the output takes the
  // target's place, or standard output is flushed; false when any write of
  // the run failed or this last step did, with message() telling why.
  bool finish(bool runSucceeded);
  // The part of finish(true) that can find the output incomplete: the held
  // write failure, the last flush, sync and close; the target is not touched.
  // false: message() tells why and the output is discarded. finish() then
  // only puts the output in the target's place (see finishTogether).
  bool complete();
  // The failure of open() or finish(), as lines to show on standard error.
  const std::string& message() const { return failure; }

 private:
  Opening refuse(const char* reason);

  std::string name;  // empty for standard output
  ReplacingOutput file;
  FILE* out = nullptr;
  int writeErrno = 0;       // of the first failed write; 0 while none failed
  bool incomplete = false;  // complete() failed
  std::string failure;
};

// Ends the outputs of one successful run together: each is completed first,
// and only when all of them are whole does any take its target's place, so a
// failure in one (a full disk, a file size limit) leaves every target as it
// was. Outputs never opened are passed over. false: message holds the first
// failure's lines and every output is discarded.
bool finishTogether(std::initializer_list<OutputFile*> outputs, std::string& message);

// "Unable to write to file `NAME'" (or "to standard output" when name is
// null) and the system's text for error: the message of a failed write.
std::string cannotWriteMessage(const char* name, int error);

#endif  // FILEIO_OUTPUT_FILE_H_
