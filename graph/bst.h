#ifndef GRAPH_BST_H_
#define GRAPH_BST_H_

#include <cstdint>
#include <new>
#include <type_traits>

#include "graph/arena.h"
#include "graph/list.h"
#include "graph/record_pool.h"

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

  void replaceChild(tree_node* parent, bool isLeftChild, tree_node* subtreeTop);

  static constexpr int kMaxHeight = 96;

  Arena* arena = nullptr;
  tree_node* root = nullptr;
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
    count = 0;
    return *this;
  }
  if (root == nullptr) {
    root = newNode();
  }
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
      sources.enqueue(s->right);
      targets.enqueue(d->right);
    } else {
      deleteSubTree(d->right);
      d->right = nullptr;
    }
  }
  count = other.count;
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
  // The insertion path of a new largest key is the right spine, and only
  // its lowest nodes can need a rotation: the spine is walked without key
  // comparisons, and the first node whose balance leans left ends the
  // retracing, exactly where addItem's would end.
  if (root == nullptr) {
    return addItem(item, key);
  }
  tree_node* path[kMaxHeight];
  int depth = 0;
  for (tree_node* n = root; n != nullptr; n = n->right) {
    path[depth++] = n;
  }
  if (!(key > path[depth - 1]->key)) {
    return addItem(item, key);
  }
  tree_node* leaf = newNode();
  leaf->item = item;
  leaf->key = key;
  path[depth - 1]->right = leaf;
  ++count;
  while (depth > 0) {
    tree_node* node = path[--depth];
    tree_node* parent = depth > 0 ? path[depth - 1] : nullptr;
    if (node->balance == -1) {
      node->balance = 0;
      return true;
    }
    if (node->balance == 0) {
      node->balance = 1;
      continue;
    }
    // Leaning right already: the subtree got two levels deeper on the right.
    // The new key went right of node->right, so node->right leans right and
    // one single rotation restores the height the subtree had.
    node->balance = 2;
    rotateRR(node, parent, false);
    return true;
  }
  return true;
}

template <class T, class K>
void BST<T, K>::replaceChild(tree_node* parent, bool isLeftChild, tree_node* subtreeTop) {
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
  c->right = node;
  node->balance = static_cast<std::int8_t>(-1 - c->balance);
  c->balance = static_cast<std::int8_t>(c->balance + 1);
  replaceChild(parent, isLeftChild, c);
}

template <class T, class K>
void BST<T, K>::rotateRR(tree_node* node, tree_node* parent, bool isLeftChild) {
  tree_node* c = node->right;
  node->right = c->left;
  c->left = node;
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

#endif  // GRAPH_BST_H_
