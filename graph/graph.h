#ifndef GRAPH_GRAPH_H_
#define GRAPH_GRAPH_H_

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "graph/arena.h"
#include "graph/bst.h"
#include "graph/hash_index.h"
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

// Nodes (key K, weight N) and adjacencies between them. Each adjacency has a
// record at both endpoints, and the two mirror each other: swapped weights,
// reversed direction. A self-loop has a single record.
//
// The record at an adjacency's smaller endpoint always exists. The one at
// its larger endpoint may be owed instead (see deferMirrors): made from the
// record at the smaller endpoint, with the values that record has then, the
// first time anything needs it. Every operation answers as if both records
// existed, so an owed record is never seen from outside, except in memory.
//
// Callers reach the stored records through heap views (graph_node,
// graph_edge) that the caller frees, with freeView, while the pointers inside
// a view reach into the graph and stay valid until the graph is assigned to
// or destroyed. Writing through a view changes only the record it points
// into; to change adjacencies and keep both records alike, write through an
// EdgeUpdate.
//
// Representation, chosen for graphs of millions of adjacencies: every node
// record, node tree node and adjacency record lives in the graph's own arena
// and goes with it as a whole. An adjacency record sits inside the node of
// its endpoint's tree (one block, no pointer to follow) and leaves out the
// endpoint that holds it, which every path to a record already knows. For
// keys of at most 16 bits a table indexed by key finds a node with one
// memory access instead of a descent of the node tree, and for unsigned
// 32-bit keys (AS numbers) the same table for keys below 65536 and a hash
// table for the rest, seeded per run so that a file cannot aim its numbers at
// one run of slots (see HashIndex); the tree still gives the nodes in key
// order.
template <class K, class W, class N>
class Graph {
 public:
  struct node;

  // The record held at one endpoint for the adjacency to `to`.
  struct edge {
    W fwdWeight;
    W revWeight;
    node* to = nullptr;
    edge_dir dir = dir_none;
    // Set while the record at the far endpoint is still to be made (see
    // deferMirrors); fits in the padding after dir.
    bool mirrorPending = false;
  };

  struct node {
    explicit node(Arena* arena) : edges(arena) {}
    BST<edge, K> edges;
    N weight{};
    K key{};
    bool visited = false;
    // Records here whose mirror is owed.
    std::uint32_t mirrorsToMake = 0;
    // Only while owed records are made: how many this node takes.
    std::uint32_t mirrorsToTake = 0;
    // Only during a pass that writes the records at the larger endpoints
    // (making owed ones, or bringing them along after an EdgeUpdate): where
    // the pass writes this node's next one. Null between passes.
    typename BST<edge, K>::tree_node* mirrorCursor = nullptr;
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
  Graph(const Graph& other) : Graph() { *this = other; }
  ~Graph();
  // Deep copy; views handed out earlier by this graph become invalid.
  Graph& operator=(const Graph& other);

  // 1: added; 0: a node with this key exists (it keeps its weight).
  int addNode(const N& weight, const K& key);
  // 0: an endpoint is missing; 1: the adjacency exists and was left alone;
  // 2: it existed and was overwritten; 3: a new adjacency was created.
  int addEdge(const K& fromKey, const K& toKey, const edge_dir& dir, const W& fwdWeight,
              const W& revWeight);
  // While on, a new adjacency is stored at its smaller endpoint only, and its
  // record at the larger endpoint is owed: owed records are all made in one
  // pass, the first time anything needs one (a search from the larger
  // endpoint, a listing, a copy made on demand), or never, when nothing
  // does. Turning this off stops deferring new adjacencies; what is owed
  // stays owed until needed. Results are the same either way.
  // Why: a graph read from a file gets its adjacencies in ascending order, so
  // the smaller endpoint's tree is the one in use, while an insertion at the
  // larger endpoint lands in a tree last touched long ago, a cache miss or
  // two per adjacency that dominated reading; and a graph that is only
  // compared or written, walked from the smaller endpoints, never needs the
  // other half of its records, which is half of its memory.
  void deferMirrors(bool on) { deferring = on; }
  // Makes every owed record now; made together, the records of one node lie
  // side by side in memory.
  void settleMirrors() const;
  // For the life of a scope, tells the graph that adjacencies come in
  // ascending order and are not looked up from their larger endpoint (a file
  // being read, a graph being built by a merge), so that it defers mirrors;
  // then restores the previous mode.
  class AscendingAdditions {
   public:
    explicit AscendingAdditions(Graph& graph) : graph(graph), was(graph.deferring) {
      graph.deferMirrors(true);
    }
    ~AscendingAdditions() { graph.deferMirrors(was); }
    AscendingAdditions(const AscendingAdditions&) = delete;
    AscendingAdditions& operator=(const AscendingAdditions&) = delete;

   private:
    Graph& graph;
    bool was;
  };

  // New view of the record held at fromKey for the adjacency to toKey, or
  // null when there is no such adjacency. The caller frees it with freeView.
  graph_edge* edgeProperties(const K& fromKey, const K& toKey) const;

  std::uint32_t nodes() const { return nodeCount; }
  // How many nodes have keys beyond the key table's (unsigned 32-bit keys
  // above 65535); 0 for other keys.
  std::size_t nodesAboveKeyTable() const { return hashed.size(); }
  std::uint32_t edges() const { return edgeCount; }

  // One new view per node, ascending by key. The list belongs to the graph
  // and is emptied by the next call; the caller copies it and frees the views.
  List<graph_node*>& listNodes();
  // One new view per adjacency, each listed once from its smaller key, in
  // ascending (from, to) order. Same ownership as listNodes.
  List<graph_edge*>& listEdges();

  // Walks the adjacencies in listEdges' order without allocating: the view
  // it shows lives in the walk and is refilled by next(); its weight and
  // direction pointers reach into the graph as a listed view's do. The graph
  // must not gain or lose nodes or adjacencies during the walk.
  // Unlike a listing, a walk reads only the records at the smaller endpoints
  // and leaves owed records owed (see deferMirrors). It is for reading: a
  // value written through it would reach one record of the two.
  class EdgeWalk {
   public:
    explicit EdgeWalk(const Graph& graph) : nodeAt(graph.nodeTree.firstNode()) {
      if (nodeAt != nullptr) {
        recordAt = firstListed(nodeAt->item);
      }
      settle();
    }
    EdgeWalk(const EdgeWalk&) = delete;
    EdgeWalk& operator=(const EdgeWalk&) = delete;

    bool atEnd() const { return nodeAt == nullptr; }
    // The current adjacency; only while !atEnd().
    graph_edge* current() { return &view; }
    void next() {
      recordAt = BST<edge, K>::nextNode(recordAt);
      settle();
    }

   private:
    using NodeSlot = typename BST<node*, K>::tree_node;
    using RecordSlot = typename BST<edge, K>::tree_node;

    // A node's records are listed from it when the far key is not smaller:
    // they start at that lower bound, and the records before it (the other
    // halves of adjacencies listed earlier) are never touched.
    static RecordSlot* firstListed(node* from) { return from->edges.firstNodeFrom(from->key); }

    // Moves on to the first record at or after the current position, past
    // nodes with none left, and fills the view.
    void settle() {
      while (nodeAt != nullptr) {
        if (recordAt != nullptr) {
          node* from = nodeAt->item;
          edge& r = recordAt->item;
          fromView = graph_node{&from->weight, from->key};
          toView = graph_node{&r.to->weight, recordAt->key};
          view = graph_edge{&r.fwdWeight, &r.revWeight, &r.dir, &fromView, &toView};
          return;
        }
        nodeAt = BST<node*, K>::nextNode(nodeAt);
        if (nodeAt != nullptr) {
          recordAt = firstListed(nodeAt->item);
        }
      }
    }

    NodeSlot* nodeAt;
    RecordSlot* recordAt = nullptr;
    graph_node fromView{};
    graph_node toView{};
    graph_edge view{};
  };

  // An EdgeWalk through whose views the caller may change the adjacencies'
  // weights and directions. When it ends, the records at the larger
  // endpoints are brought along, all in one pass over the graph, which meets
  // every node's records in key order instead of searching them one by one:
  // cheaper than writing both records at each step. Until then they keep
  // their old values; an owed record is made from the new ones whenever it is.
  class EdgeUpdate : public EdgeWalk {
   public:
    explicit EdgeUpdate(Graph& graph) : EdgeWalk(graph), graph(graph) {}
    ~EdgeUpdate() { graph.mirrorSmallerEnds(); }
    EdgeUpdate(const EdgeUpdate&) = delete;
    EdgeUpdate& operator=(const EdgeUpdate&) = delete;

   private:
    Graph& graph;
  };

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
  // Keys of at most 16 bits: one table slot per possible key. Unsigned
  // 32-bit keys: the same table for the keys below 65536, and an
  // open-addressing hash table for the rest, so that neither costs a tree
  // descent per adjacency.
  static constexpr bool kWideKeys =
      std::is_integral<K>::value && std::is_unsigned<K>::value && sizeof(K) == 4;
  static constexpr bool kKeyTable = std::is_integral<K>::value && (sizeof(K) <= 2 || kWideKeys);
  static constexpr std::size_t kTableSlots = std::size_t{1} << (8 * (kWideKeys ? 2 : sizeof(K)));
  static std::size_t tableIndex(const K& key) {
    return static_cast<std::size_t>(static_cast<std::int64_t>(key) -
                                    static_cast<std::int64_t>(std::numeric_limits<K>::min()));
  }
  node* findNode(const K& key) const {
    if constexpr (kKeyTable) {
      if constexpr (kWideKeys) {
        if (key >= kTableSlots) {
          return hashed.find(key);
        }
      }
      return keyTable == nullptr ? nullptr : keyTable[tableIndex(key)];
    } else {
      node** slot = nodeTree.findItem(key);
      return slot == nullptr ? nullptr : *slot;
    }
  }

  // The only places where node records and views are made.
  node* newNode(const N& weight, const K& key);
  static graph_node* newNodeView(node* n) {
    return RecordPool<graph_node>::make(graph_node{&n->weight, n->key});
  }
  static graph_edge* newEdgeView(node* from, edge* e) {
    return RecordPool<graph_edge>::make(
        graph_edge{&e->fwdWeight, &e->revWeight, &e->dir, newNodeView(from), newNodeView(e->to)});
  }
  // Ends every record; the memory goes back with the arena, or stays in it
  // for the records of a graph assigned to this one.
  void freeRecords(bool keepMemory = false);

  // addEdge's merge of a repeated adjacency: false when the stored direction
  // stays, else true with the direction to store in *result.
  static bool mergedDirection(edge_dir stored, edge_dir dir, edge_dir* result) {
    if (stored == dir_none) {
      if (dir == dir_none) {
        return false;
      }
      *result = dir;
    } else if (dir == dir_none) {
      *result = dir_none;
    } else if (dir == stored) {
      return false;
    } else {
      // Two opposite directions cancel out.
      *result = dir_none;
    }
    return true;
  }
  static void overwrite(edge* record, const W& fwdWeight, const W& revWeight, edge_dir dir) {
    record->fwdWeight = fwdWeight;
    record->revWeight = revWeight;
    record->dir = dir;
  }
  // Calls visit(record) for each record of a that owes its mirror, in key
  // order; they all lie above a's own key.
  template <class Visit>
  static void forEachOwed(node* a, Visit visit) {
    std::uint32_t owed = a->mirrorsToMake;
    for (auto* slot = owed != 0 ? a->edges.firstNodeFrom(a->key) : nullptr; owed != 0;
         slot = BST<edge, K>::nextNode(slot)) {
      if (slot->item.mirrorPending) {
        --owed;
        visit(slot->item);
      }
    }
  }
  // Makes the record at every adjacency's larger endpoint the mirror of the
  // one at its smaller endpoint: EdgeUpdate's closing pass.
  void mirrorSmallerEnds();
  // addEdge while mirrors are deferred, for two distinct endpoints.
  int addEdgeDeferred(node* from, node* to, const K& fromKey, const K& toKey, edge_dir dir,
                      const W* fwdWeight, const W* revWeight);

  // First member: the records in it must outlive every tree that links them.
  Arena arena;
  std::uint32_t nodeCount = 0;
  std::uint32_t edgeCount = 0;
  bool deferring = false;
  // Records whose mirror is still to be made; settling makes them, which
  // changes no result, so const operations may do it.
  mutable std::uint64_t mirrorsPending = 0;
  // Adjacencies between two nodes whose both records exist.
  mutable std::uint64_t mirrorsMade = 0;
  BST<node*, K> nodeTree{&arena};
  // Made with the first node, unused unless kKeyTable. Zeroed by calloc, not
  // in the arena: fresh memory from the system is zero already, and only the
  // pages of keys in use are ever touched, so a small graph (the many inputs
  // of a fuzz run or a test) does not pay for all 65536 slots.
  node** keyTable = nullptr;
  // The keys above the table's, in tables from the arena. Unused unless
  // kWideKeys.
  HashIndex<K, node*> hashed{&arena};
  List<graph_node*> nodeViews;
  List<graph_edge*> edgeViews;
};

template <class K, class W, class N>
typename Graph<K, W, N>::node* Graph<K, W, N>::newNode(const N& weight, const K& key) {
  node* n = new (arena.allocate(sizeof(node), alignof(node))) node(&arena);
  n->weight = weight;
  n->key = key;
  return n;
}

template <class K, class W, class N>
void Graph<K, W, N>::freeRecords(bool keepMemory) {
  // Records of trivially destructible parts need no visit at all: dropping
  // the arena ends them, however many there are.
  if (!std::is_trivially_destructible<W>::value || !std::is_trivially_destructible<N>::value ||
      !std::is_trivially_destructible<K>::value) {
    nodeTree.forEachInOrder([](node* n) { n->~node(); });
  }
  nodeTree = BST<node*, K>();
  std::free(keyTable);
  keyTable = nullptr;
  hashed.clear();
  mirrorsPending = 0;
  mirrorsMade = 0;
  if (keepMemory) {
    arena.recycle();
  } else {
    arena.release();
  }
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
  freeRecords(true);
  nodeCount = 0;
  edgeCount = 0;

  other.nodeTree.forEachInOrder([this](node* n) { addNode(n->weight, n->key); });
  // The first record met for each adjacency is the one at its smaller key:
  // it creates both mirrored records, and its partner, if it was made, then
  // changes nothing.
  other.nodeTree.forEachInOrder([this](node* n) {
    n->edges.forEachInOrder(
        [this, n](edge& r) { addEdge(n->key, r.to->key, r.dir, r.fwdWeight, r.revWeight); });
  });
  nodeCount = other.nodeCount;
  edgeCount = other.edgeCount;
  return *this;
}

template <class K, class W, class N>
int Graph<K, W, N>::addNode(const N& weight, const K& key) {
  if (findNode(key) != nullptr) {
    return 0;
  }
  node* n = newNode(weight, key);
  nodeTree.addItem(n, key);
  if constexpr (kKeyTable) {
    bool wide = false;
    if constexpr (kWideKeys) {
      wide = key >= kTableSlots;
      if (wide) {
        hashed.add(key, n);
      }
    }
    if (!wide) {
      if (keyTable == nullptr) {
        keyTable = static_cast<node**>(std::calloc(kTableSlots, sizeof(node*)));
        if (keyTable == nullptr) {
          throw std::bad_alloc();
        }
      }
      keyTable[tableIndex(key)] = n;
    }
  }
  ++nodeCount;
  return 1;
}

template <class K, class W, class N>
int Graph<K, W, N>::addEdge(const K& fromKey, const K& toKey, const edge_dir& dir,
                            const W& fwdWeight, const W& revWeight) {
  node* from = findNode(fromKey);
  node* to = findNode(toKey);
  if (from == nullptr || to == nullptr) {
    return 0;
  }
  // While records are owed, an adjacency may exist at its smaller endpoint
  // only: every new or repeated one goes the deferred way then.
  if ((deferring || mirrorsPending != 0) && !(fromKey == toKey)) {
    if (dir == dir_none || dir == dir_backward || dir == dir_forward) {
      return addEdgeDeferred(from, to, fromKey, toKey, dir, &fwdWeight, &revWeight);
    }
    // Only the three directions survive the swap of endpoints below.
    settleMirrors();
  }
  // New adjacencies are the common case: try the insertion first, so that
  // the from node's tree is descended once rather than twice for them.
  // Sorted input hands each tree ascending keys, which addLargest takes
  // without a search.
  if (from->edges.addLargest(edge{fwdWeight, revWeight, to, dir}, toKey)) {
    ++edgeCount;
    if (!(fromKey == toKey)) {
      to->edges.addLargest(edge{revWeight, fwdWeight, from, reverse(dir)}, fromKey);
      ++mirrorsMade;
    }
    return 3;
  }

  edge* r = from->edges.findItem(toKey);
  edge_dir result;
  if (!mergedDirection(r->dir, dir, &result)) {
    return 1;
  }
  // For a self-loop the mirror is r, and the second write is the one that stays.
  overwrite(to->edges.findItem(fromKey), revWeight, fwdWeight, reverse(result));
  overwrite(r, fwdWeight, revWeight, result);
  return 2;
}

template <class K, class W, class N>
int Graph<K, W, N>::addEdgeDeferred(node* from, node* to, const K& fromKey, const K& toKey,
                                    edge_dir dir, const W* fwdWeight, const W* revWeight) {
  // Seen from the smaller endpoint, the same adjacency has its weights
  // swapped and its direction reversed; addEdge's merge table gives the same
  // records either way round.
  // The keys come from the caller: reading them from the nodes would touch
  // the larger endpoint's record, which is what deferring avoids.
  const bool swapped = fromKey > toKey;
  const K& smallKey = swapped ? toKey : fromKey;
  const K& largeKey = swapped ? fromKey : toKey;
  if (swapped) {
    std::swap(from, to);
    std::swap(fwdWeight, revWeight);
    dir = reverse(dir);
  }
  edge fresh{*fwdWeight, *revWeight, to, dir};
  fresh.mirrorPending = true;
  if (from->edges.addLargest(fresh, largeKey)) {
    ++edgeCount;
    ++from->mirrorsToMake;
    ++mirrorsPending;
    return 3;
  }
  // A stored adjacency has its record at the smaller endpoint, and a mirror
  // too unless that is still owed: an owed mirror is made from the record's
  // final values.
  edge* r = from->edges.findItem(largeKey);
  edge_dir result;
  if (!mergedDirection(r->dir, dir, &result)) {
    return 1;
  }
  if (!r->mirrorPending) {
    overwrite(to->edges.findItem(smallKey), *revWeight, *fwdWeight, reverse(result));
  }
  overwrite(r, *fwdWeight, *revWeight, result);
  return 2;
}

template <class K, class W, class N>
void Graph<K, W, N>::settleMirrors() const {
  if (mirrorsPending == 0) {
    return;
  }
  using RecordSlot = typename BST<edge, K>::tree_node;
  // How many each node is owed, counted here rather than one by one while
  // deferring, for the same reason as above.
  nodeTree.forEachInOrder([](node* a) { forEachOwed(a, [](edge& r) { ++r.to->mirrorsToTake; }); });
  // Room for each node's owed mirrors in one block.
  nodeTree.forEachInOrder([](node* x) {
    if (x->mirrorsToTake != 0) {
      x->mirrorCursor = x->edges.makeNodes(x->mirrorsToTake);
    }
  });
  // Owed records sit at their smaller endpoint under the larger key; walking
  // the nodes in key order fills each node's room in ascending key order.
  nodeTree.forEachInOrder([](node* a) {
    forEachOwed(a, [a](edge& r) {
      r.mirrorPending = false;
      node* x = r.to;
      RecordSlot* mirror = x->mirrorCursor++;
      mirror->key = a->key;
      mirror->item = edge{r.revWeight, r.fwdWeight, a, reverse(r.dir)};
    });
    a->mirrorsToMake = 0;
  });
  std::vector<RecordSlot*> scratch;
  nodeTree.forEachInOrder([&scratch](node* x) {
    if (x->mirrorsToTake != 0) {
      // The cursor went through the whole room.
      x->edges.adoptNodes(x->mirrorCursor - x->mirrorsToTake, x->mirrorsToTake, scratch);
      x->mirrorsToTake = 0;
      x->mirrorCursor = nullptr;
    }
  });
  mirrorsMade += mirrorsPending;
  mirrorsPending = 0;
}

template <class K, class W, class N>
typename Graph<K, W, N>::graph_edge* Graph<K, W, N>::edgeProperties(const K& fromKey,
                                                                    const K& toKey) const {
  // While mirrors are owed, the record at the smaller endpoint is there
  // already; the one at the larger endpoint may not be yet. A record that
  // still owes its mirror is settled before it can be written through a
  // view, so that its mirror keeps the values it was given.
  if (mirrorsPending != 0 && fromKey > toKey) {
    settleMirrors();
  }
  node* from = findNode(fromKey);
  if (from == nullptr) {
    return nullptr;
  }
  edge* found = from->edges.findItem(toKey);
  if (found == nullptr) {
    return nullptr;
  }
  if (found->mirrorPending) {
    settleMirrors();
  }
  return newEdgeView(from, found);
}

template <class K, class W, class N>
void Graph<K, W, N>::mirrorSmallerEnds() {
  // Owed records will be made from the current values anyway.
  if (mirrorsMade == 0) {
    return;
  }
  using RecordSlot = typename BST<edge, K>::tree_node;
  // The records of node x below its own key are the mirrors, in key order,
  // and the smaller endpoints are met in that same order below: each node's
  // cursor only moves forward.
  nodeTree.forEachInOrder([](node* x) { x->mirrorCursor = x->edges.firstNode(); });
  nodeTree.forEachInOrder([](node* a) {
    for (RecordSlot* slot = a->edges.firstNodeFrom(a->key); slot != nullptr;
         slot = BST<edge, K>::nextNode(slot)) {
      const edge& r = slot->item;
      node* x = r.to;
      if (x == a || r.mirrorPending) {
        // A self-loop is its own mirror; an owed mirror will be made from
        // the record as it is then.
        continue;
      }
      RecordSlot* mirror = x->mirrorCursor;
      while (a->key > mirror->key) {
        mirror = BST<edge, K>::nextNode(mirror);
      }
      mirror->item.fwdWeight = r.revWeight;
      mirror->item.revWeight = r.fwdWeight;
      mirror->item.dir = reverse(r.dir);
      x->mirrorCursor = mirror;
    }
  });
  nodeTree.forEachInOrder([](node* x) { x->mirrorCursor = nullptr; });
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
  settleMirrors();
  // Nodes come in ascending key order and a node is marked only after all of
  // its records were seen, so each adjacency is listed once, from its
  // smaller key; a self-loop's other end is not marked yet and is listed too.
  nodeTree.forEachInOrder([this](node* a) {
    a->edges.forEachInOrder([this, a](edge& r) {
      if (!r.to->visited) {
        edgeViews.enqueue(newEdgeView(a, &r));
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
  std::uint64_t owed = 0;
  std::uint64_t owedToNodes = 0;
  auto nodeOfKey = [this](const K& key) -> node* {
    node** slot = nodeTree.findItem(key);
    return slot != nullptr ? *slot : nullptr;
  };
  // The walks cannot be left early: after the first problem they skip the rest.
  nodeTree.forEachInOrder([&](node* n) {
    if (problem != nullptr) {
      return;
    }
    if (nodeOfKey(n->key) != n || findNode(n->key) != n) {
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
    if (n->mirrorCursor != nullptr) {
      problem = "graph node keeps a cursor after a pass";
      return;
    }
    owedToNodes += n->mirrorsToTake;
    std::uint64_t owedHere = 0;
    n->edges.forEachInOrder([&](edge& record) {
      if (problem != nullptr) {
        return;
      }
      ++records;
      const edge* r = &record;
      if (r->to == nullptr || nodeOfKey(r->to->key) != r->to) {
        problem = "adjacency record leads to a node outside the graph";
      } else if (n->edges.findItem(r->to->key) != r) {
        problem = "adjacency record is not stored under its far endpoint's key";
      } else if (r->dir != dir_none && r->dir != dir_backward && r->dir != dir_forward) {
        problem = "adjacency record has no valid direction";
      } else if (r->mirrorPending) {
        ++owedHere;
        if (!(r->to->key > n->key)) {
          problem = "mirror owed by the record at the larger endpoint";
        } else if (r->to->edges.findItem(n->key) != nullptr) {
          problem = "adjacency owed a mirror already has one";
        }
      } else if (r->to == n) {
        ++selfLoops;
      } else {
        const edge* mirror = r->to->edges.findItem(n->key);
        if (mirror == nullptr) {
          problem = "adjacency is stored at one endpoint only";
        } else if (mirror->to != n) {
          problem = "mirror record has the wrong endpoints";
        } else if (mirror->dir != reverse(r->dir)) {
          problem = "mirror record's direction is not reversed";
        } else if (!sameWeight(mirror->fwdWeight, r->revWeight) ||
                   !sameWeight(mirror->revWeight, r->fwdWeight)) {
          problem = "mirror record's weights are not swapped";
        }
      }
    });
    if (problem == nullptr && owedHere != n->mirrorsToMake) {
      problem = "graph node's count of owed mirrors differs from its records";
    }
    owed += owedHere;
  });
  if (problem != nullptr) {
    return invalidBecause(why, problem);
  }
  if (owed != mirrorsPending || owedToNodes != 0) {
    return invalidBecause(why, "graph's count of owed mirrors differs from its nodes");
  }
  // Every adjacency has two records, a self-loop one, and one whose mirror
  // is owed has one so far.
  if (records + selfLoops + owed != 2 * std::uint64_t{edgeCount} ||
      records != 2 * mirrorsMade + selfLoops + owed) {
    return invalidBecause(why, "graph's edge count differs from its adjacency records");
  }
  return nodeViews.isValid(why) && edgeViews.isValid(why);
}

#endif  // GRAPH_GRAPH_H_
