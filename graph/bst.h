#ifndef GRAPH_BST_H_
#define GRAPH_BST_H_

#include <cstdint>
#include <new>
#include <type_traits>
#include <vector>

#include "graph/arena.h"
#include "graph/list.h"
#include "graph/record_pool.h"
#include "graph/validity.h"

// AVL-balanced search tree holding one item per distinct key. K is compared
// only with == and >; items and keys are stored by value, and for a pointer T
// the pointee is never freed. No operation recurses: every walk keeps its own
// stack or queue on the heap, so deep trees cannot exhaust the machine stack.
//
// A tree made with an arena takes its nodes from it and leaves them there:
// the arena's owner releases them all at once, and the tree's destructor
// only runs the items' destructors, if they have any.
template <class T, class K>
class BST {
 public:
  struct tree_node {
    T item{};
    // The links come before the key: with a large item and a small key
    // this order leaves the least padding.
    tree_node* left = nullptr;
    tree_node* right = nullptr;
    // Lets an insertion of a new largest key start at the largest node and
    // climb only as far as the balances change, instead of descending the
    // right spine from the root: a cache miss per level in trees that are
    // not in use at the moment.
    tree_node* parent = nullptr;
    K key{};
    std::int8_t balance = 0;      // height(right) - height(left)
    std::uint8_t visitState = 0;  // scratch state of listItems
  };

  BST() = default;
  // A tree whose nodes live in arena, which must outlive the tree.
  explicit BST(Arena* arena) : arena(arena) {}
  // Same-shape copy: keys, items and balances node for node.
  BST(const BST& other);
  ~BST();
  // Same-shape copy that reuses this tree's nodes where it can.
  BST& operator=(const BST& other);

  // Stores item under key; false when the key is already present (nothing is
  // stored then, and the caller keeps whatever the item refers to).
  bool addItem(const T& item, const K& key);
  // Pointer to the stored item (writable in place) or null when key is absent.
  T* findItem(const K& key) const;
  // The items in ascending key order. The list belongs to the tree and is
  // refilled by the next call; callers copy it at once.
  List<T>& listItems();
  bool isEmpty() const { return root == nullptr; }
  std::uint64_t size() const { return count; }

  // Same as addItem when key is known to exceed every key in the tree (the
  // common case of input that comes sorted); falls back to addItem
  // otherwise, so it is always correct.
  bool addLargest(const T& item, const K& key);

  // Bulk insertion in two steps, for a caller that fills many trees of one
  // arena at once: makeNodes hands out room for count nodes in one block (only
  // for a tree made with an arena; null otherwise), the caller stores items
  // and keys in them, ascending and absent from the tree, then adoptNodes
  // links them in. Rebuilding the tree balanced from all of its nodes in key
  // order costs a pass over them, far less than an insertion per node when
  // the tree's other nodes lie elsewhere in memory. No node moves; scratch is
  // the caller's reusable buffer.
  tree_node* makeNodes(std::size_t count) {
    if (arena == nullptr || count == 0) {
      return nullptr;
    }
    tree_node* nodes =
        static_cast<tree_node*>(arena->allocate(count * sizeof(tree_node), alignof(tree_node)));
    for (std::size_t i = 0; i < count; ++i) {
      new (nodes + i) tree_node();
    }
    return nodes;
  }
  void adoptNodes(tree_node* nodes, std::size_t count, std::vector<tree_node*>& scratch);

  // Frees node and everything below it; count is left alone.
  void deleteSubTree(tree_node* node);

  // Calls visit(item) for every item in ascending key order without
  // allocating: the walk keeps its path in a fixed array, which is enough
  // because an AVL tree of 2^64 items is less than kMaxHeight levels high.
  // visit must not change the tree.
  template <class Visit>
  void forEachInOrder(Visit visit) const;

  void rotateLL(tree_node* node, tree_node* parent, bool isLeftChild);
  void rotateLR(tree_node* node, tree_node* parent, bool isLeftChild);
  void rotateRL(tree_node* node, tree_node* parent, bool isLeftChild);
  void rotateRR(tree_node* node, tree_node* parent, bool isLeftChild);

  // In-order stepping through the parent links, for walks that must pause
  // between items (two trees merged side by side): the node of the smallest
  // key, and the node that follows n; null past the end. The tree must not
  // change during the walk.
  tree_node* firstNode() const {
    tree_node* n = root;
    while (n != nullptr && n->left != nullptr) {
      n = n->left;
    }
    return n;
  }
  // The node of the smallest key not below key; null when every key is.
  tree_node* firstNodeFrom(const K& key) const {
    tree_node* found = nullptr;
    for (tree_node* n = root; n != nullptr;) {
      if (n->key == key) {
        return n;
      }
      if (n->key > key) {
        found = n;
        n = n->left;
      } else {
        n = n->right;
      }
    }
    return found;
  }
  static tree_node* nextNode(const tree_node* n) {
    if (n->right != nullptr) {
      tree_node* next = n->right;
      while (next->left != nullptr) {
        next = next->left;
      }
      return next;
    }
    while (n->parent != nullptr && n->parent->right == n) {
      n = n->parent;
    }
    return n->parent;
  }
  // Walks the whole tree: keys in order, every stored balance equal to the
  // difference of the subtree heights and within -1 to 1, parent links and
  // the largest node right, no listing state left behind, the count equal
  // to the nodes, and the item list a sound list. false: *why (if given) names the broken rule.
  bool isValid(const char** why = nullptr) const;

  // Exposed for shape checks in tests; callers must not modify the tree
  // through it.
  const tree_node* rootNode() const { return root; }

 private:
  // The only places where tree nodes are made and freed.
  tree_node* newNode() {
    if (arena != nullptr) {
      return new (arena->allocate(sizeof(tree_node), alignof(tree_node))) tree_node();
    }
    return RecordPool<tree_node>::make();
  }
  void freeNode(tree_node* node) {
    if (arena != nullptr) {
      node->~tree_node();
      return;
    }
    RecordPool<tree_node>::destroy(node);
  }

  // Hangs subtreeTop where node hung, under parent.
  void replaceChild(tree_node* parent, bool isLeftChild, tree_node* subtreeTop);
  // Points the parent links of node's children at node.
  static void relinkChildren(tree_node* node) {
    if (node->left != nullptr) {
      node->left->parent = node;
    }
    if (node->right != nullptr) {
      node->right->parent = node;
    }
  }

  static constexpr int kMaxHeight = 96;

  Arena* arena = nullptr;
  tree_node* root = nullptr;
  tree_node* largest = nullptr;  // the node of the largest key
  std::uint64_t count = 0;
  List<T> itemList;
};

template <class T, class K>
BST<T, K>::BST(const BST& other) {
  // Assigning into an empty tree builds every node fresh.
  *this = other;
}

template <class T, class K>
BST<T, K>::~BST() {
  if (arena != nullptr && std::is_trivially_destructible<tree_node>::value) {
    return;  // the arena's owner releases the nodes
  }
  deleteSubTree(root);
}

template <class T, class K>
BST<T, K>& BST<T, K>::operator=(const BST& other) {
  if (this == &other) {
    return *this;
  }
  if (other.root == nullptr) {
    deleteSubTree(root);
    root = nullptr;
    largest = nullptr;
    count = 0;
    return *this;
  }
  if (root == nullptr) {
    root = newNode();
  }
  root->parent = nullptr;
  List<tree_node*> sources;
  List<tree_node*> targets;
  sources.enqueue(other.root);
  targets.enqueue(root);
  while (!sources.isEmpty()) {
    tree_node* s = sources.dequeue();
    tree_node* d = targets.dequeue();
    d->item = s->item;
    d->key = s->key;
    d->balance = s->balance;
    if (s->left != nullptr) {
      if (d->left == nullptr) {
        d->left = newNode();
      }
      d->left->parent = d;
      sources.enqueue(s->left);
      targets.enqueue(d->left);
    } else {
      deleteSubTree(d->left);
      d->left = nullptr;
    }
    if (s->right != nullptr) {
      if (d->right == nullptr) {
        d->right = newNode();
      }
      d->right->parent = d;
      sources.enqueue(s->right);
      targets.enqueue(d->right);
    } else {
      deleteSubTree(d->right);
      d->right = nullptr;
    }
  }
  count = other.count;
  largest = root;
  while (largest->right != nullptr) {
    largest = largest->right;
  }
  return *this;
}

template <class T, class K>
void BST<T, K>::deleteSubTree(tree_node* node) {
  if (node == nullptr) {
    return;
  }
  // Popping a node and pushing its children keeps at most one pending
  // sibling per level, so the stack never outgrows the tree's height.
  tree_node* pending[kMaxHeight + 1];
  int top = 0;
  pending[top++] = node;
  while (top > 0) {
    tree_node* n = pending[--top];
    if (n->left != nullptr) {
      pending[top++] = n->left;
    }
    if (n->right != nullptr) {
      pending[top++] = n->right;
    }
    freeNode(n);
  }
}

template <class T, class K>
void BST<T, K>::adoptNodes(tree_node* nodes, std::size_t count, std::vector<tree_node*>& scratch) {
  if (count == 0) {
    return;
  }
  // Every node in key order: the tree's own merged with the new run.
  scratch.clear();
  scratch.reserve(count + this->count);
  tree_node* own = firstNode();
  for (std::size_t i = 0; i < count; ++i) {
    while (own != nullptr && !(own->key > nodes[i].key)) {
      scratch.push_back(own);
      own = nextNode(own);
    }
    scratch.push_back(nodes + i);
  }
  for (; own != nullptr; own = nextNode(own)) {
    scratch.push_back(own);
  }

  // Each range's middle node is the root of the range. A range of m nodes is
  // bit_width(m) levels high, and the two halves of a range differ by at
  // most one node, so every balance is -1 or 0: a sound AVL tree.
  auto height = [](std::size_t m) {
    int levels = 0;
    for (; m != 0; m >>= 1) {
      ++levels;
    }
    return levels;
  };
  struct Range {
    std::size_t begin;
    std::size_t end;
    tree_node* parent;
    bool isLeftChild;
  };
  // Each step replaces one range by its two halves, so the stack never
  // holds more than one pending range per level plus the current one.
  Range pending[2 * kMaxHeight];
  int top = 0;
  pending[top++] = Range{0, scratch.size(), nullptr, false};
  while (top > 0) {
    const Range range = pending[--top];
    tree_node* rangeTop = nullptr;
    if (range.begin < range.end) {
      const std::size_t middle = range.begin + (range.end - range.begin) / 2;
      rangeTop = scratch[middle];
      rangeTop->parent = range.parent;
      rangeTop->balance =
          static_cast<std::int8_t>(height(range.end - middle - 1) - height(middle - range.begin));
      pending[top++] = Range{middle + 1, range.end, rangeTop, false};
      pending[top++] = Range{range.begin, middle, rangeTop, true};
    }
    if (range.parent == nullptr) {
      root = rangeTop;
    } else if (range.isLeftChild) {
      range.parent->left = rangeTop;
    } else {
      range.parent->right = rangeTop;
    }
  }
  largest = scratch.back();
  this->count += count;
}

template <class T, class K>
template <class Visit>
void BST<T, K>::forEachInOrder(Visit visit) const {
  tree_node* path[kMaxHeight];
  int top = 0;
  tree_node* n = root;
  while (n != nullptr || top > 0) {
    while (n != nullptr) {
      path[top++] = n;
      n = n->left;
    }
    n = path[--top];
    visit(n->item);
    n = n->right;
  }
}

template <class T, class K>
T* BST<T, K>::findItem(const K& key) const {
  tree_node* n = root;
  while (n != nullptr) {
    if (n->key == key) {
      return &n->item;
    }
    n = (n->key > key) ? n->left : n->right;
  }
  return nullptr;
}

template <class T, class K>
bool BST<T, K>::addItem(const T& item, const K& key) {
  if (root == nullptr) {
    root = newNode();
    root->item = item;
    root->key = key;
    largest = root;
    ++count;
    return true;
  }
  // The insertion path, root first; an AVL tree is never kMaxHeight high.
  tree_node* path[kMaxHeight];
  int depth = 0;
  tree_node* n = root;
  for (;;) {
    if (n->key == key) {
      return false;
    }
    path[depth++] = n;
    tree_node*& child = (n->key > key) ? n->left : n->right;
    if (child == nullptr) {
      child = newNode();
      child->item = item;
      child->key = key;
      child->parent = n;
      if (key > largest->key) {
        largest = child;
      }
      break;
    }
    n = child;
  }
  ++count;

  // Walk the insertion path back up, fixing balances while the subtree below
  // has grown; one rotation at most stops the growth.
  bool grown = true;
  while (depth > 0) {
    tree_node* node = path[--depth];
    tree_node* parent = depth > 0 ? path[depth - 1] : nullptr;
    bool isLeftChild = parent != nullptr && parent->key > node->key;
    if (!grown) {
      break;  // nothing above can change any more
    }
    if (node->key > key) {
      if (node->balance == 1) {
        grown = false;
      }
      --node->balance;
    } else {
      if (node->balance == -1) {
        grown = false;
      }
      ++node->balance;
    }
    if (node->balance < -1) {
      if (node->left->balance > 0) {
        rotateLR(node, parent, isLeftChild);
        grown = false;
      } else {
        if (node->left->balance < 0) {
          grown = false;
        }
        rotateLL(node, parent, isLeftChild);
      }
    } else if (node->balance > 1) {
      if (node->right->balance < 0) {
        rotateRL(node, parent, isLeftChild);
        grown = false;
      } else {
        if (node->right->balance > 0) {
          grown = false;
        }
        rotateRR(node, parent, isLeftChild);
      }
    }
  }
  return true;
}

template <class T, class K>
bool BST<T, K>::addLargest(const T& item, const K& key) {
  if (root == nullptr || !(key > largest->key)) {
    return addItem(item, key);
  }
  // The new node hangs right of the largest one, and only the right spine
  // above it can change: climbing from there, a node that leaned left now
  // stands even and ends the climb, an even node leans right and passes the
  // growth on, and a node that leaned right already is put right by one
  // single rotation (its right child leans right, as the growth came up
  // through it), which gives the subtree its old height back.
  tree_node* leaf = newNode();
  leaf->item = item;
  leaf->key = key;
  leaf->parent = largest;
  largest->right = leaf;
  largest = leaf;
  ++count;
  for (tree_node* node = leaf->parent; node != nullptr; node = node->parent) {
    if (node->balance < 0) {
      node->balance = 0;
      return true;
    }
    if (node->balance == 0) {
      node->balance = 1;
      continue;
    }
    node->balance = 2;
    rotateRR(node, node->parent, false);
    return true;
  }
  return true;
}

template <class T, class K>
void BST<T, K>::replaceChild(tree_node* parent, bool isLeftChild, tree_node* subtreeTop) {
  subtreeTop->parent = parent;
  if (parent == nullptr) {
    root = subtreeTop;
  } else if (isLeftChild) {
    parent->left = subtreeTop;
  } else {
    parent->right = subtreeTop;
  }
}

template <class T, class K>
void BST<T, K>::rotateLL(tree_node* node, tree_node* parent, bool isLeftChild) {
  tree_node* c = node->left;
  node->left = c->right;
  if (node->left != nullptr) {
    node->left->parent = node;
  }
  c->right = node;
  node->parent = c;
  node->balance = static_cast<std::int8_t>(-1 - c->balance);
  c->balance = static_cast<std::int8_t>(c->balance + 1);
  replaceChild(parent, isLeftChild, c);
}

template <class T, class K>
void BST<T, K>::rotateRR(tree_node* node, tree_node* parent, bool isLeftChild) {
  tree_node* c = node->right;
  node->right = c->left;
  if (node->right != nullptr) {
    node->right->parent = node;
  }
  c->left = node;
  node->parent = c;
  node->balance = static_cast<std::int8_t>(1 - c->balance);
  c->balance = static_cast<std::int8_t>(c->balance - 1);
  replaceChild(parent, isLeftChild, c);
}

template <class T, class K>
void BST<T, K>::rotateLR(tree_node* node, tree_node* parent, bool isLeftChild) {
  tree_node* c = node->left;
  tree_node* g = c->right;
  node->left = g->right;
  c->right = g->left;
  g->left = c;
  g->right = node;
  relinkChildren(node);
  relinkChildren(c);
  relinkChildren(g);
  node->balance = static_cast<std::int8_t>(g->balance < 0 ? -g->balance : 0);
  c->balance = static_cast<std::int8_t>(g->balance > 0 ? -g->balance : 0);
  g->balance = 0;
  replaceChild(parent, isLeftChild, g);
}

template <class T, class K>
void BST<T, K>::rotateRL(tree_node* node, tree_node* parent, bool isLeftChild) {
  tree_node* c = node->right;
  tree_node* g = c->left;
  node->right = g->left;
  c->left = g->right;
  g->right = c;
  g->left = node;
  relinkChildren(node);
  relinkChildren(c);
  relinkChildren(g);
  node->balance = static_cast<std::int8_t>(g->balance > 0 ? -g->balance : 0);
  c->balance = static_cast<std::int8_t>(g->balance < 0 ? -g->balance : 0);
  g->balance = 0;
  replaceChild(parent, isLeftChild, g);
}

template <class T, class K>
List<T>& BST<T, K>::listItems() {
  itemList = List<T>();
  if (root == nullptr) {
    return itemList;
  }
  List<tree_node*> stack;
  root->visitState = 0;
  stack.push(root);
  while (!stack.isEmpty()) {
    tree_node* n = stack.pop();
    switch (n->visitState) {
      case 0:
        n->visitState = 1;
        stack.push(n);
        if (n->left != nullptr) {
          n->left->visitState = 0;
          stack.push(n->left);
        }
        break;
      case 1:
        n->visitState = 2;
        stack.push(n);
        itemList.enqueue(n->item);
        break;
      default:
        n->visitState = 0;
        if (n->right != nullptr) {
          n->right->visitState = 0;
          stack.push(n->right);
        }
        break;
    }
  }
  return itemList;
}

template <class T, class K>
bool BST<T, K>::isValid(const char** why) const {
  // Depth-first with an explicit stack: each frame knows the open key range
  // its subtree must keep to and, once its left subtree is done, its height.
  struct Frame {
    const tree_node* node;
    const K* low;
    const K* high;
    int leftHeight;
    int stage;
  };
  Frame stack[kMaxHeight];
  int top = 0;
  int finishedHeight = 0;  // height of the subtree whose frame was popped last
  std::uint64_t seen = 0;
  const tree_node* rightmost = nullptr;
  if (root != nullptr) {
    stack[top++] = Frame{root, nullptr, nullptr, 0, 0};
  }
  while (top > 0) {
    Frame& frame = stack[top - 1];
    const tree_node* n = frame.node;
    if (frame.stage == 0) {
      if (++seen > count) {
        return invalidBecause(why, "tree has more nodes than its count");
      }
      if ((frame.low != nullptr && !(n->key > *frame.low)) ||
          (frame.high != nullptr && !(*frame.high > n->key))) {
        return invalidBecause(why, "tree keys are out of order");
      }
      if (n->visitState != 0) {
        return invalidBecause(why, "tree node keeps a listing's visit state");
      }
      const tree_node* expectedParent = top > 1 ? stack[top - 2].node : nullptr;
      if (n->parent != expectedParent) {
        return invalidBecause(why, "tree node's parent link is wrong");
      }
      if (n->right == nullptr && frame.high == nullptr) {
        rightmost = n;
      }
      frame.stage = 1;
      finishedHeight = 0;
      if (n->left != nullptr) {
        if (top == kMaxHeight) {
          return invalidBecause(why, "tree is far too high for an AVL tree");
        }
        stack[top++] = Frame{n->left, frame.low, &n->key, 0, 0};
        continue;
      }
    }
    if (frame.stage == 1) {
      frame.leftHeight = finishedHeight;
      frame.stage = 2;
      finishedHeight = 0;
      if (n->right != nullptr) {
        if (top == kMaxHeight) {
          return invalidBecause(why, "tree is far too high for an AVL tree");
        }
        stack[top++] = Frame{n->right, &n->key, frame.high, 0, 0};
        continue;
      }
    }
    const int balance = finishedHeight - frame.leftHeight;
    if (balance < -1 || balance > 1) {
      return invalidBecause(why, "tree is out of AVL balance");
    }
    if (n->balance != balance) {
      return invalidBecause(why, "tree node's balance differs from its subtree heights");
    }
    finishedHeight = 1 + (finishedHeight > frame.leftHeight ? finishedHeight : frame.leftHeight);
    --top;
  }
  if (seen != count) {
    return invalidBecause(why, "tree has fewer nodes than its count");
  }
  if (rightmost != largest) {
    return invalidBecause(why, "tree does not know its largest node");
  }
  return itemList.isValid(why);
}

#endif  // GRAPH_BST_H_
