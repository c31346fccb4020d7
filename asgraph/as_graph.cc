#include "asgraph/as_graph.h"

#include <cstdio>
#include <cstring>

#include "text/copied_string.h"
#include "text/escaped_text.h"

const char* const ASGraph::graphMarker = "ZNG";
const char* const ASGraph::diffGraphMarker = "ZND";
const char* const ASGraph::wideGraphMarker = "ZNG32";
const char* const ASGraph::wideDiffGraphMarker = "ZND32";

ASGraph::ASGraph() = default;

ASGraph::ASGraph(const ASGraph& other) : ASGraphBase() { *this = other; }

ASGraph::~ASGraph() { clearSourceFiles(); }

void ASGraph::clearSourceFiles() {
  while (!sourceFiles.isEmpty()) {
    delete[] sourceFiles.pop();
  }
}

ASGraph& ASGraph::operator=(const ASGraph& other) {
  if (this == &other) {
    return *this;
  }
  ASGraphBase::operator=(other);
  differential = other.differential;
  std::memcpy(errReasonText, other.errReasonText, sizeof errReasonText);
  std::memcpy(comment, other.comment, sizeof comment);
  // other's list is walked through a copy: its cursor is part of its state.
  List<char*> names(other.sourceFiles);
  setSourceFiles(names, true);
  return *this;
}

int ASGraph::dirToVal(edge_dir dir) const {
  switch (dir) {
    case dir_backward:
      return -1;
    case dir_forward:
      return 1;
    default:
      return 0;
  }
}

edge_dir ASGraph::valToDir(int value) const {
  switch (value) {
    case -1:
      return dir_backward;
    case 1:
      return dir_forward;
    default:
      return dir_none;
  }
}

void ASGraph::setComment(const char* text) {
  std::strncpy(comment, text, 512);
  comment[512] = '\0';
}

bool ASGraph::fail(const char* reason) {
  std::snprintf(errReasonText, sizeof errReasonText, "%s", reason);
  return false;
}

bool ASGraph::fail(const char* prefix, const char* text, std::size_t length) {
  std::size_t prefixLength = std::strlen(prefix);
  // The closing quote always stays; the quoted text gives way.
  std::size_t room = kReasonLength - prefixLength - 1;
  if (length > room) {
    length = room;
  }
  std::memcpy(errReasonText, prefix, prefixLength);
  char* end = writeEscaped(text, length, errReasonText + prefixLength);
  *end++ = '\'';
  *end = '\0';
  return false;
}

void ASGraph::setSourceFiles(List<char*>& names, bool replace) {
  if (replace) {
    clearSourceFiles();
  }
  names.goToFirst();
  if (names.isEmpty()) {
    return;
  }
  do {
    sourceFiles.enqueue(copyString(names.current()));
  } while (names.next());
}
