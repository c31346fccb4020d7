#include "graph/bst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using IntTree = BST<int, int>;
using Node = IntTree::tree_node;

// Checks order, AVL balance and stored balances; returns the subtree height.
int checkSubtree(const Node* node, const int* low, const int* high, int* nodes) {
  if (node == nullptr) {
    return 0;
  }
  ++*nodes;
  for (const Node* child : {node->left, node->right}) {
    if (child != nullptr) {
      EXPECT_EQ(child->parent, node) << "parent link of key " << child->key;
    }
  }
  if (low != nullptr) {
    EXPECT_GT(node->key, *low);
  }
  if (high != nullptr) {
    EXPECT_LT(node->key, *high);
  }
  int left = checkSubtree(node->left, low, &node->key, nodes);
  int right = checkSubtree(node->right, &node->key, high, nodes);
  EXPECT_EQ(node->balance, right - left) << "at key " << node->key;
  EXPECT_LE(std::abs(right - left), 1) << "at key " << node->key;
  EXPECT_EQ(node->visitState, 0) << "scratch state left set at key " << node->key;
  return 1 + std::max(left, right);
}

void checkTree(const IntTree& tree) {
  if (tree.rootNode() != nullptr) {
    EXPECT_EQ(tree.rootNode()->parent, nullptr);
  }
  int nodes = 0;
  checkSubtree(tree.rootNode(), nullptr, nullptr, &nodes);
  EXPECT_EQ(static_cast<std::uint64_t>(nodes), tree.size());
}

// Pre-order rendering "key(left,right)" of the shape with balances.
std::string shape(const Node* n) {
  if (n == nullptr) {
    return "-";
  }
  std::string s = std::to_string(n->key) + "[" + std::to_string(n->balance) + "]";
  if (n->left == nullptr && n->right == nullptr) {
    return s;
  }
  return s + "(" + shape(n->left) + "," + shape(n->right) + ")";
}

std::vector<int> listed(IntTree& tree) {
  List<int> copy = tree.listItems();
  std::vector<int> out;
  while (!copy.isEmpty()) {
    out.push_back(copy.pop());
  }
  return out;
}

IntTree build(const std::vector<int>& keys) {
  IntTree tree;
  for (int k : keys) {
    tree.addItem(k * 10, k);
  }
  return tree;
}

TEST(BSTTest, RotationsGiveTheExpectedShapes) {
  struct Case {
    std::vector<int> keys;
    std::string shape;
  } cases[] = {
      {{1, 2, 3, 4, 5, 6, 7}, "4[0](2[0](1[0],3[0]),6[0](5[0],7[0]))"},
      {{3, 1, 2}, "2[0](1[0],3[0])"},  // LR at 3
      {{1, 3, 2}, "2[0](1[0],3[0])"},  // RL at 1
      {{3, 2, 1}, "2[0](1[0],3[0])"},  // LL at 3
      {{5, 3, 8, 1, 4, 2}, "3[0](1[1](-,2[0]),5[0](4[0],8[0]))"},
      {{5, 3, 8, 4, 7, 9, 6}, "5[1](3[1](-,4[0]),8[-1](7[-1](6[0],-),9[0]))"},
      {{10, 5, 15, 3, 7, 6}, "7[0](5[0](3[0],6[0]),10[1](-,15[0]))"},   // LR, G leaning right
      {{10, 5, 15, 3, 7, 8}, "7[0](5[-1](3[0],-),10[0](8[0],15[0]))"},  // LR, G leaning left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.keys));
    IntTree tree = build(c.keys);
    EXPECT_EQ(shape(tree.rootNode()), c.shape);
    checkTree(tree);
  }
}

TEST(BSTTest, DuplicateKeyIsRefused) {
  IntTree tree = build({2, 1, 3});
  EXPECT_FALSE(tree.addItem(99, 2));
  EXPECT_EQ(tree.size(), 3u);
  EXPECT_EQ(*tree.findItem(2), 20);
}

TEST(BSTTest, FindGivesWritableItemOrNull) {
  IntTree tree = build({2, 1, 3});
  EXPECT_EQ(tree.findItem(4), nullptr);
  *tree.findItem(3) = 333;
  EXPECT_EQ(*tree.findItem(3), 333);
  EXPECT_EQ(listed(tree), (std::vector<int>{10, 20, 333}));
}

TEST(BSTTest, ListItemsIsRefilledAndCopiesAreIndependent) {
  IntTree empty;
  EXPECT_TRUE(empty.listItems().isEmpty());
  IntTree tree = build({2, 1, 3});
  List<int> first = tree.listItems();
  tree.addItem(40, 4);
  EXPECT_EQ(listed(tree), (std::vector<int>{10, 20, 30, 40}));
  EXPECT_EQ(first.len(), 3u);
}

TEST(BSTTest, AssignmentCopiesShapeAndReusesOrFreesNodes) {
  std::vector<int> thousand(1000);
  for (int i = 0; i < 1000; ++i) {
    thousand[i] = (i * 7919) % 1000;
  }
  IntTree big = build(thousand);
  IntTree empty;
  big = empty;
  EXPECT_TRUE(big.isEmpty());
  EXPECT_EQ(big.size(), 0u);

  IntTree seven = build({1, 2, 3, 4, 5, 6, 7});
  IntTree three = build({30, 10, 20});
  three = seven;
  EXPECT_EQ(shape(three.rootNode()), shape(seven.rootNode()));
  EXPECT_EQ(three.size(), 7u);

  IntTree small = build({2, 1});
  seven = small;  // surplus nodes are freed (LeakSanitizer watches)
  EXPECT_EQ(shape(seven.rootNode()), "2[-1](1[0],-)");
  seven = seven;
  EXPECT_EQ(seven.size(), 2u);

  IntTree copy(three);
  EXPECT_EQ(shape(copy.rootNode()), shape(three.rootNode()));
  copy.addItem(80, 8);
  EXPECT_EQ(three.size(), 7u);
}

TEST(BSTTest, DeepTreeIsWalkedWithoutRecursion) {
  BST<int, int> tree;
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    tree.addItem(i, i);
  }
  List<int> all = tree.listItems();
  EXPECT_EQ(all.len(), static_cast<std::uint64_t>(n));
  EXPECT_EQ(all.first(), 0);
  EXPECT_EQ(all.last(), n - 1);
}

TEST(BSTTest, AgreesWithStdMapUnderRandomInsertions) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    IntTree tree;
    std::map<int, int> model;
    int range = 10 + round * 50;
    for (int i = 0; i < 300; ++i) {
      int key = static_cast<int>(rng() % range);
      bool added = tree.addItem(key + 1000, key);
      ASSERT_EQ(added, model.emplace(key, key + 1000).second);
      const char* why = "";
      ASSERT_TRUE(tree.isValid(&why)) << why << " after adding " << key;
      checkTree(tree);
      if (i % 50 == 0) {
        // Listing leaves scratch state in the nodes; it must be cleared again.
        ASSERT_EQ(tree.listItems().len(), model.size());
        ASSERT_TRUE(tree.isValid(&why)) << why << " after listing";
      }
    }
    checkTree(tree);
    std::vector<int> expected;
    for (auto& kv : model) {
      expected.push_back(kv.second);
    }
    EXPECT_EQ(listed(tree), expected);
    IntTree copy;
    copy = tree;
    const char* why = "";
    ASSERT_TRUE(copy.isValid(&why)) << why;
    checkTree(copy);
    EXPECT_EQ(listed(copy), expected);
  }
}

// addLargest is addItem's shortcut for keys that arrive in ascending order,
// as a sorted graph file delivers them: it must leave exactly the tree that
// addItem leaves, and fall back to addItem for any other key.
TEST(BSTTest, AddLargestBuildsTheSameTreeAsAddItem) {
  for (int n = 1; n <= 300; ++n) {
    SCOPED_TRACE(n);
    IntTree byItem;
    IntTree byLargest;
    for (int k = 1; k <= n; ++k) {
      byItem.addItem(k, k * 3);
      ASSERT_TRUE(byLargest.addLargest(k, k * 3));
    }
    ASSERT_EQ(shape(byLargest.rootNode()), shape(byItem.rootNode()));
    checkTree(byLargest);
  }
}

TEST(BSTTest, AddLargestAgreesWithStdMapOnAnyOrder) {
  std::mt19937 rng(7);
  Arena arena;
  IntTree tree(&arena);
  std::map<int, int> model;
  for (int step = 0; step < 3000; ++step) {
    // Mostly ascending runs, as in a sorted file, with jumps back and repeats.
    int key = rng() % 4 == 0 ? static_cast<int>(rng() % 2000)
                             : (model.empty() ? 0 : model.rbegin()->first) + 1 + rng() % 3;
    if (rng() % 10 == 0 && !model.empty()) {
      key = model.rbegin()->first;
    }
    const bool fresh = model.emplace(key, step).second;
    ASSERT_EQ(tree.addLargest(step, key), fresh) << "step " << step;
    checkTree(tree);
  }
  for (const auto& entry : model) {
    ASSERT_NE(tree.findItem(entry.first), nullptr);
    EXPECT_EQ(*tree.findItem(entry.first), entry.second);
  }
  // Stepping through the parent links meets the keys in order, from any
  // lower bound.
  for (int from = -1; from <= 2100; from += 7) {
    auto expected = model.lower_bound(from);
    for (const Node* n = tree.firstNodeFrom(from); n != nullptr; n = IntTree::nextNode(n)) {
      ASSERT_NE(expected, model.end());
      ASSERT_EQ(n->key, expected->first);
      ++expected;
    }
    EXPECT_EQ(expected, model.end()) << "from " << from;
  }
  EXPECT_EQ(tree.firstNode(), tree.firstNodeFrom(-1));
}

// Runs of new nodes adopted into trees of every size, the run's keys mixed
// with the tree's own: the rebuilt tree must hold both, stay sound, keep
// every node where it was, and take ordinary insertions afterwards.
TEST(BSTTest, AdoptedRunsAgreeWithStdMap) {
  std::mt19937 rng(11);
  std::vector<Node*> scratch;
  for (int round = 0; round < 60; ++round) {
    Arena arena;
    IntTree tree(&arena);
    std::map<int, int> model;
    const int own = static_cast<int>(rng() % 200);
    for (int i = 0; i < own; ++i) {
      const int key = static_cast<int>(rng() % 1000);
      ASSERT_EQ(tree.addItem(i, key), model.emplace(key, i).second);
    }
    std::map<int, const Node*> places;
    for (const Node* n = tree.firstNode(); n != nullptr; n = IntTree::nextNode(n)) {
      places[n->key] = n;
    }
    std::vector<int> runKeys;
    for (int key = -5; key < 1005; ++key) {
      if (model.count(key) == 0 && rng() % 4 == 0) {
        runKeys.push_back(key);
      }
    }
    runKeys.resize(rng() % (runKeys.size() + 1));
    Node* run = tree.makeNodes(runKeys.size());
    for (std::size_t i = 0; i < runKeys.size(); ++i) {
      run[i].key = runKeys[i];
      run[i].item = -runKeys[i];
      model.emplace(runKeys[i], -runKeys[i]);
    }
    tree.adoptNodes(run, runKeys.size(), scratch);
    checkTree(tree);
    const char* why = "";
    ASSERT_TRUE(tree.isValid(&why)) << why;
    for (const auto& place : places) {
      EXPECT_EQ(tree.findItem(place.first), &place.second->item);
    }
    for (int i = 0; i < 50; ++i) {
      const int key = static_cast<int>(rng() % 1100);
      ASSERT_EQ(tree.addLargest(i, key), model.emplace(key, i).second);
    }
    checkTree(tree);
    auto expected = model.begin();
    for (const Node* n = tree.firstNode(); n != nullptr; n = IntTree::nextNode(n), ++expected) {
      ASSERT_NE(expected, model.end());
      EXPECT_EQ(n->key, expected->first);
      EXPECT_EQ(n->item, expected->second);
    }
    EXPECT_EQ(expected, model.end());
  }
  EXPECT_EQ(IntTree().makeNodes(3), nullptr);
}

// The validity check must notice a tree that a faulty rotation or a lost
// link has left behind; the corruptions are made by hand on a sound tree of
// the keys 1 to 7 (4 at the root, 2 and 6 below it).
TEST(BSTTest, ValidityCheckCatchesBrokenTrees) {
  struct Case {
    const char* corruption;
    void (*corrupt)(IntTree& tree, Node* root);
    const char* reason;
  } cases[] = {
      {"a single rotation where none is due",
       [](IntTree& tree, Node* root) { tree.rotateLL(root, nullptr, false); },
       "tree node's balance differs from its subtree heights"},
      {"a double rotation where none is due",
       [](IntTree& tree, Node* root) { tree.rotateLR(root, nullptr, false); },
       "tree node's balance differs from its subtree heights"},
      {"a rotation where none is due, balances set to the heights",
       [](IntTree& tree, Node* root) {
         tree.rotateLL(root, nullptr, false);
         Node* top = const_cast<Node*>(tree.rootNode());
         root->balance = 1;
         top->balance = 2;
       },
       "tree is out of AVL balance"},
      {"a rotation that forgets the balances",
       [](IntTree&, Node* root) {
         Node* six = root->right;
         Node* five = six->left;
         six->left = five->right;
         five->right = six;
         root->right = five;
         five->parent = root;
         six->parent = five;
       },
       "tree node's balance differs from its subtree heights"},
      {"swapped children", [](IntTree&, Node* root) { std::swap(root->left, root->right); },
       "tree keys are out of order"},
      {"a leaf linked twice", [](IntTree&, Node* root) { root->left->left = root->left->right; },
       "tree keys are out of order"},
      {"lost leaves",
       [](IntTree&, Node* root) {
         root->left->left = root->left->right = nullptr;
         root->right->left = root->right->right = nullptr;
       },
       "tree has fewer nodes than its count"},
      {"a stale parent link", [](IntTree&, Node* root) { root->left->left->parent = root; },
       "tree node's parent link is wrong"},
      {"a listing's state left behind", [](IntTree&, Node* root) { root->right->visitState = 1; },
       "tree node keeps a listing's visit state"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.corruption);
    IntTree tree = build({1, 2, 3, 4, 5, 6, 7});
    const char* why = "";
    ASSERT_TRUE(tree.isValid(&why)) << why;
    Node* root = const_cast<Node*>(tree.rootNode());
    Node* nodes[] = {root,
                     root->left,
                     root->right,
                     root->left->left,
                     root->left->right,
                     root->right->left,
                     root->right->right};
    Node links[7];
    for (int i = 0; i < 7; ++i) {
      links[i] = *nodes[i];
    }
    c.corrupt(tree, root);
    EXPECT_FALSE(tree.isValid(&why));
    EXPECT_STREQ(why, c.reason);
    // Give the teardown every node once again; after a rotation at the root
    // the tree still holds each node once.
    if (tree.rootNode() == root) {
      for (int i = 0; i < 7; ++i) {
        nodes[i]->left = links[i].left;
        nodes[i]->right = links[i].right;
      }
    }
  }
}

TEST(BSTTest, PointerItemsAreNotFreed) {
  int value = 3;
  {
    BST<int*, int> tree;
    tree.addItem(&value, 1);
  }
  EXPECT_EQ(value, 3);
}

}  // namespace
