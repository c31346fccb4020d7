#ifndef TABLE_TABLE_PROGRESS_H_
#define TABLE_TABLE_PROGRESS_H_

#include <cstddef>
#include <cstdio>
#include <string>

// The one-line progress display of a command that reads several graphs: "3/6 NAME" on standard
// error, rewritten in place as each graph is read, and taken off the screen when the run ends,
// before a failure's message, and also when a signal ends the run.
class TableProgress {
 public:
  // shown: standard error is a terminal and --quiet was not given.
  TableProgress(bool shown, FILE* err, std::size_t total);
  ~TableProgress() { erase(); }
  TableProgress(const TableProgress&) = delete;
  TableProgress& operator=(const TableProgress&) = delete;

  // Graph index (from 0) of the series is being read; name as given (its base name is shown).
  void show(std::size_t index, const std::string& name);
  void erase();

 private:
  bool shown;
  FILE* err;
  std::size_t total;
  bool drawn = false;
};

#endif  // TABLE_TABLE_PROGRESS_H_
