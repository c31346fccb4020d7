#ifndef ENGINE_VIEW_LISTING_H_
#define ENGINE_VIEW_LISTING_H_

#include <utility>

#include "graph/list.h"

// Moves the views of a listing that a graph handed out (listNodes, listEdges) into the caller's
// own list. The graph's list is left empty: it would otherwise keep a second set of list
// elements alive for the whole comparison, pointing at views the caller frees one by one.
template <class T>
void takeListing(List<T>& listing, List<T>& into) {
  into = std::move(listing);
}

#endif  // ENGINE_VIEW_LISTING_H_
