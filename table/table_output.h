#ifndef TABLE_TABLE_OUTPUT_H_
#define TABLE_TABLE_OUTPUT_H_

#include <cstdio>
#include <string>
#include <utility>

#include "fileio/replacing_output.h"

// Where a table or a plot goes: standard output (an empty name) or a named file that takes its
// target's place only when the run succeeds, written as the other programs write -o.
class TableOutput {
 public:
  explicit TableOutput(std::string name) : name(std::move(name)) {}

  // Opens the file; false after the message is on err.
  bool open(FILE* err);
  FILE* stream() const { return name.empty() ? stdout : file.stream(); }
  // Puts the output in place (writeError: errno of a write that failed before, or 0). false
  // after the message is on err.
  bool commit(int writeError, FILE* err);
  // Leaves the target as it was.
  void discard() { file.discard(); }

 private:
  std::string name;
  ReplacingOutput file;
};

#endif  // TABLE_TABLE_OUTPUT_H_
