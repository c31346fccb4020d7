#ifndef GRAPH_GRAPH_H_
#define GRAPH_GRAPH_H_

#include <cstdint>

#include "graph/bst.h"
#include "graph/list.h"
#include "graph/record_pool.h"
#include "graph/validity.h"

// Direction of an adjacency as seen from the endpoint that holds the record.
enum edge_dir : unsigned char { dir_none = 0, dir_backward = 1, dir_forward = 2 };

// The direction seen from the other endpoint; anything but the two directed
// values maps to dir_none.
inline edge_dir reverse(edge_dir dir) {
  switch (dir) {
    case dir_backward:
      return dir_forward;
    case dir_forward:
      return dir_backward;
    default:
      return dir_none;
  }
}

// Nodes (key K, weight N) and adjacencies between them. Every adjacency is
// stored at both endpoints, and the two records mirror each other: swapped
// weights, reversed direction. A self-loop has a single record.
//
// Callers reach the stored records through heap views (graph_node,
// graph_edge) that the caller frees, with freeView, while the pointers inside
// a view reach into the graph and stay valid until the graph is assigned to
// or destroyed. Writing through a view changes only the record it points into.
template <class K, class W, class N>
class Graph {
 public:
  struct node;

  struct edge {
    W fwdWeight;
    W revWeight;
    edge_dir dir = dir_none;
    node* from = nullptr;
    node* to = nullptr;
  };

  struct node {
    N weight{};
    K key{};
    BST<edge*, K> edges;
    bool visited = false;
  };

  struct graph_node {
    N* weight;
    K key;
  };

  struct graph_edge {
    W* fwdWeight;
    W* revWeight;
    edge_dir* dir;
    graph_node* from;
    graph_node* to;
  };

  Graph() = default;
  Graph(const Graph& other) { *this = other; }
  ~Graph();
  // Deep copy; views handed out earlier by this graph become invalid.
  Graph& operator=(const Graph& other);

  // 1: added; 0: a node with this key exists (it keeps its weight).
  int addNode(const N& weight, const K& key);
  // 0: an endpoint is missing; 1: the adjacency exists and was left alone;
  // 2: it existed and was overwritten; 3: a new adjacency was created.
  int addEdge(const K& fromKey, const K& toKey, const edge_dir& dir, const W& fwdWeight,
              const W& revWeight);
  // New view of the record held at fromKey for the adjacency to toKey, or
  // null when there is no such adjacency. The caller frees it with freeView.
  graph_edge* edgeProperties(const K& fromKey, const K& toKey) const;

  std::uint32_t nodes() const { return nodeCount; }
  std::uint32_t edges() const { return edgeCount; }

  // One new view per node, ascending by key. The list belongs to the graph
  // and is emptied by the next call; the caller copies it and frees the views.
  List<graph_node*>& listNodes();
  // One new view per adjacency, each listed once from its smaller key, in
  // ascending (from, to) order. Same ownership as listNodes.
  List<graph_edge*>& listEdges();

  // Walks the whole graph: the node tree and every adjacency tree are sound,
  // each node is found under its key, every adjacency record leads from its
  // node to a node of the graph and has its mirror at the other endpoint
  // (swapped weights, reversed direction; a self-loop has one record), no
  // listing mark is left, the counts agree with the records, and the view
  // lists are sound. sameWeight(a, b) compares two weights. false: *why (if
  // given) names the broken rule.
  template <class SameWeight>
  bool isValid(const char** why, SameWeight sameWeight) const;
  // The same, comparing weights with ==.
  bool isValid(const char** why = nullptr) const {
    return isValid(why, [](const W& a, const W& b) { return a == b; });
  }

  static void freeView(graph_node* view) { RecordPool<graph_node>::destroy(view); }
  static void freeView(graph_edge* view) {
    freeView(view->from);
    freeView(view->to);
    RecordPool<graph_edge>::destroy(view);
  }

 private:
  // The only places where node and adjacency records and views are made.
  static node* newNode(const N& weight, const K& key);
  static edge* newEdge(const W& fwd, const W& rev, edge_dir dir, node* from, node* to);
  static void freeRecord(node* n) { RecordPool<node>::destroy(n); }
  static void freeRecord(edge* e) { RecordPool<edge>::destroy(e); }
  static graph_node* newNodeView(node* n) {
    return RecordPool<graph_node>::make(graph_node{&n->weight, n->key});
  }
  static graph_edge* newEdgeView(edge* e) {
    return RecordPool<graph_edge>::make(graph_edge{&e->fwdWeight, &e->revWeight, &e->dir,
                                                   newNodeView(e->from), newNodeView(e->to)});
  }
  void freeRecords();

  std::uint32_t nodeCount = 0;
  std::uint32_t edgeCount = 0;
  BST<node*, K> nodeTree;
  List<graph_node*> nodeViews;
  List<graph_edge*> edgeViews;
};

template <class K, class W, class N>
typename Graph<K, W, N>::node* Graph<K, W, N>::newNode(const N& weight, const K& key) {
  node* n = RecordPool<node>::make();
  n->weight = weight;
  n->key = key;
  return n;
}

template <class K, class W, class N>
typename Graph<K, W, N>::edge* Graph<K, W, N>::newEdge(const W& fwd, const W& rev, edge_dir dir,
                                                       node* from, node* to) {
  edge* e = RecordPool<edge>::make();
  e->fwdWeight = fwd;
  e->revWeight = rev;
  e->dir = dir;
  e->from = from;
  e->to = to;
  return e;
}

template <class K, class W, class N>
void Graph<K, W, N>::freeRecords() {
  nodeTree.forEachInOrder([](node* n) {
    n->edges.forEachInOrder([](edge* e) { freeRecord(e); });
    freeRecord(n);
  });
}

template <class K, class W, class N>
Graph<K, W, N>::~Graph() {
  freeRecords();
}

template <class K, class W, class N>
Graph<K, W, N>& Graph<K, W, N>::operator=(const Graph& other) {
  if (this == &other) {
    return *this;
  }
  freeRecords();
  nodeTree = BST<node*, K>();
  nodeCount = 0;
  edgeCount = 0;

  other.nodeTree.forEachInOrder([this](node* n) { addNode(n->weight, n->key); });
  // The first record met for each adjacency is the one at its smaller key:
  // it creates both mirrored records, and its partner then changes nothing.
  other.nodeTree.forEachInOrder([this](node* n) {
    n->edges.forEachInOrder(
        [this](edge* r) { addEdge(r->from->key, r->to->key, r->dir, r->fwdWeight, r->revWeight); });
  });
  nodeCount = other.nodeCount;
  edgeCount = other.edgeCount;
  return *this;
}

template <class K, class W, class N>
int Graph<K, W, N>::addNode(const N& weight, const K& key) {
  if (nodeTree.findItem(key) != nullptr) {
    return 0;
  }
  nodeTree.addItem(newNode(weight, key), key);
  ++nodeCount;
  return 1;
}

template <class K, class W, class N>
int Graph<K, W, N>::addEdge(const K& fromKey, const K& toKey, const edge_dir& dir,
                            const W& fwdWeight, const W& revWeight) {
  node** fromSlot = nodeTree.findItem(fromKey);
  node** toSlot = nodeTree.findItem(toKey);
  if (fromSlot == nullptr || toSlot == nullptr) {
    return 0;
  }
  node* from = *fromSlot;
  node* to = *toSlot;
  // New adjacencies are the common case: try the insertion first, so that
  // the from node's tree is descended once rather than twice for them.
  edge* fresh = newEdge(fwdWeight, revWeight, dir, from, to);
  if (from->edges.addItem(fresh, toKey)) {
    ++edgeCount;
    if (!(fromKey == toKey)) {
      to->edges.addItem(newEdge(revWeight, fwdWeight, reverse(dir), to, from), fromKey);
    }
    return 3;
  }
  freeRecord(fresh);

  edge* r = *from->edges.findItem(toKey);
  edge_dir stored = r->dir;
  edge_dir result;
  if (stored == dir_none) {
    if (dir == dir_none) {
      return 1;
    }
    result = dir;
  } else if (dir == dir_none) {
    result = dir_none;
  } else if (dir == stored) {
    return 1;
  } else {
    // Two opposite directions cancel out.
    result = dir_none;
  }
  edge* s = *to->edges.findItem(fromKey);
  // For a self-loop s is r, and the second set of writes is the one that stays.
  s->fwdWeight = revWeight;
  s->revWeight = fwdWeight;
  s->dir = reverse(result);
  r->fwdWeight = fwdWeight;
  r->revWeight = revWeight;
  r->dir = result;
  return 2;
}

template <class K, class W, class N>
typename Graph<K, W, N>::graph_edge* Graph<K, W, N>::edgeProperties(const K& fromKey,
                                                                    const K& toKey) const {
  node** fromSlot = nodeTree.findItem(fromKey);
  if (fromSlot == nullptr) {
    return nullptr;
  }
  edge** found = (*fromSlot)->edges.findItem(toKey);
  if (found == nullptr) {
    return nullptr;
  }
  return newEdgeView(*found);
}

template <class K, class W, class N>
List<typename Graph<K, W, N>::graph_node*>& Graph<K, W, N>::listNodes() {
  nodeViews = List<graph_node*>();
  nodeTree.forEachInOrder([this](node* n) { nodeViews.enqueue(newNodeView(n)); });
  return nodeViews;
}

template <class K, class W, class N>
List<typename Graph<K, W, N>::graph_edge*>& Graph<K, W, N>::listEdges() {
  edgeViews = List<graph_edge*>();
  // Nodes come in ascending key order and a node is marked only after all of
  // its records were seen, so each adjacency is listed once, from its
  // smaller key; a self-loop's other end is not marked yet and is listed too.
  nodeTree.forEachInOrder([this](node* a) {
    a->edges.forEachInOrder([this](edge* r) {
      if (!r->to->visited) {
        edgeViews.enqueue(newEdgeView(r));
      }
    });
    a->visited = true;
  });
  nodeTree.forEachInOrder([](node* a) { a->visited = false; });
  return edgeViews;
}

template <class K, class W, class N>
template <class SameWeight>
bool Graph<K, W, N>::isValid(const char** why, SameWeight sameWeight) const {
  if (!nodeTree.isValid(why)) {
    return false;
  }
  if (nodeTree.size() != nodeCount) {
    return invalidBecause(why, "graph's node count differs from its node tree");
  }
  const char* problem = nullptr;
  std::uint64_t records = 0;
  std::uint64_t selfLoops = 0;
  auto nodeOfKey = [this](const K& key) -> node* {
    node** slot = nodeTree.findItem(key);
    return slot != nullptr ? *slot : nullptr;
  };
  // The walks cannot be left early: after the first problem they skip the rest.
  nodeTree.forEachInOrder([&](node* n) {
    if (problem != nullptr) {
      return;
    }
    if (nodeOfKey(n->key) != n) {
      problem = "graph node is not found under its own key";
      return;
    }
    if (n->visited) {
      problem = "graph node keeps a listing's mark";
      return;
    }
    if (!n->edges.isValid(&problem)) {
      return;
    }
    n->edges.forEachInOrder([&](edge* r) {
      if (problem != nullptr) {
        return;
      }
      ++records;
      if (r->from != n) {
        problem = "adjacency record does not start at the node that holds it";
      } else if (r->to == nullptr || nodeOfKey(r->to->key) != r->to) {
        problem = "adjacency record leads to a node outside the graph";
      } else if (*n->edges.findItem(r->to->key) != r) {
        problem = "adjacency record is not stored under its far endpoint's key";
      } else if (r->dir != dir_none && r->dir != dir_backward && r->dir != dir_forward) {
        problem = "adjacency record has no valid direction";
      } else if (r->to == n) {
        ++selfLoops;
      } else {
        edge** mirrorSlot = r->to->edges.findItem(n->key);
        const edge* mirror = mirrorSlot != nullptr ? *mirrorSlot : nullptr;
        if (mirror == nullptr) {
          problem = "adjacency is stored at one endpoint only";
        } else if (mirror->from != r->to || mirror->to != n) {
          problem = "mirror record has the wrong endpoints";
        } else if (mirror->dir != reverse(r->dir)) {
          problem = "mirror record's direction is not reversed";
        } else if (!sameWeight(mirror->fwdWeight, r->revWeight) ||
                   !sameWeight(mirror->revWeight, r->fwdWeight)) {
          problem = "mirror record's weights are not swapped";
        }
      }
    });
  });
  if (problem != nullptr) {
    return invalidBecause(why, problem);
  }
  // Every adjacency has two records, a self-loop one.
  if (records + selfLoops != 2 * std::uint64_t{edgeCount}) {
    return invalidBecause(why, "graph's edge count differs from its adjacency records");
  }
  return nodeViews.isValid(why) && edgeViews.isValid(why);
}

#endif  // GRAPH_GRAPH_H_
