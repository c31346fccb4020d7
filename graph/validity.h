#ifndef GRAPH_VALIDITY_H_
#define GRAPH_VALIDITY_H_

// The containers' validity checks (List::isValid, BST::isValid,
// Graph::isValid) walk the whole structure and report the first broken
// invariant. They are for tests and debugging: a template member is compiled
// only where it is called, so release code carries none of it.

// Leaves reason in *why (when why is not null) and returns false, so that
// every check reads as one line.
inline bool invalidBecause(const char** why, const char* reason) {
  if (why != nullptr) {
    *why = reason;
  }
  return false;
}

#endif  // GRAPH_VALIDITY_H_
