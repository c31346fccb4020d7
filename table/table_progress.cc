#include "table/table_progress.h"

#include "consoletools/cursor.h"
#include "fileio/interrupt_cleanup.h"
#include "fileio/path_name.h"
#include "text/escaped_text.h"

TableProgress::TableProgress(bool shown, FILE* err, std::size_t total)
    : shown(shown), err(err), total(total) {}

void TableProgress::show(std::size_t index, const std::string& name) {
  if (!shown) {
    return;
  }
  if (!drawn) {
    interrupt_cleanup::setLastWords(fileno(err), kEraseLine, kEraseLineLength);
    drawn = true;
  }
  eraseLine(err);
  std::fprintf(err, "%zu/%zu %s", index + 1, total, escaped(baseName(name).c_str()).c_str());
  std::fflush(err);
}

void TableProgress::erase() {
  if (!drawn) {
    return;
  }
  eraseLine(err);
  std::fflush(err);
  interrupt_cleanup::clearLastWords();
  drawn = false;
}
