#include "graph/list.h"

#include <gtest/gtest.h>

#include <list>
#include <random>
#include <string>
#include <vector>

namespace {

// Walks the list with its own cursor protocol and returns the items; the
// cursor ends on the last element, as callers rely on.
template <class T>
std::vector<T> items(List<T>& list) {
  std::vector<T> out;
  list.goToFirst();
  if (list.isEmpty()) {
    return out;
  }
  do {
    out.push_back(list.current());
  } while (list.next());
  return out;
}

TEST(ListTest, QueueAndStackOrder) {
  List<int> queue;
  queue.enqueue(1);
  queue.enqueue(2);
  queue.enqueue(3);
  EXPECT_EQ(queue.dequeue(), 1);
  EXPECT_EQ(queue.dequeue(), 2);
  EXPECT_EQ(queue.dequeue(), 3);
  EXPECT_TRUE(queue.isEmpty());

  List<int> stack;
  stack.push(1);
  stack.push(2);
  stack.push(3);
  EXPECT_EQ(stack.pop(), 3);
  EXPECT_EQ(stack.pop(), 2);
  EXPECT_EQ(stack.pop(), 1);
  EXPECT_TRUE(stack.isEmpty());
  EXPECT_EQ(stack.len(), 0u);
}

TEST(ListTest, CursorStaysOnFirstInsertedElement) {
  List<char> list;
  list.enqueue('a');
  list.push('b');
  EXPECT_EQ(list.first(), 'b');
  EXPECT_EQ(list.last(), 'a');
  EXPECT_EQ(list.current(), 'a');
}

TEST(ListTest, NextStopsOnTailAndKeepsCursorThere) {
  List<int> list;
  for (int i = 1; i <= 3; ++i) {
    list.enqueue(i);
  }
  list.goToFirst();
  EXPECT_TRUE(list.next());
  EXPECT_TRUE(list.next());
  EXPECT_FALSE(list.next());
  EXPECT_EQ(list.current(), 3);

  List<int> empty;
  empty.goToFirst();
  EXPECT_FALSE(empty.next());
  EXPECT_TRUE(empty.isEmpty());
}

TEST(ListTest, PopMovesCursorOnlyWhenItRemovesTheCursorElement) {
  List<int> list;
  for (int i = 1; i <= 3; ++i) {
    list.enqueue(i);
  }
  list.goToFirst();
  list.next();  // cursor on 2
  EXPECT_EQ(list.pop(), 1);
  EXPECT_EQ(list.current(), 2);
  EXPECT_EQ(list.pop(), 2);
  EXPECT_EQ(list.current(), 3);
  EXPECT_EQ(list.pop(), 3);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.len(), 0u);
  // The list is usable again after being drained.
  list.push(7);
  EXPECT_EQ(list.current(), 7);
  EXPECT_EQ(list.first(), 7);
  EXPECT_EQ(list.last(), 7);
}

TEST(ListTest, EmptyListReadsGiveDefaultAndChangeNothing) {
  List<int> list;
  EXPECT_EQ(list.pop(), 0);
  EXPECT_EQ(list.dequeue(), 0);
  EXPECT_EQ(list.first(), 0);
  EXPECT_EQ(list.last(), 0);
  EXPECT_EQ(list.current(), 0);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.len(), 0u);
}

TEST(ListTest, AssignmentShrinksAndKeepsCursorPosition) {
  List<int> five;
  for (int i = 10; i < 15; ++i) {
    five.enqueue(i);
  }
  List<int> two;
  two.enqueue(1);
  two.enqueue(2);
  two.goToFirst();
  two.next();
  five = two;
  EXPECT_EQ(five.len(), 2u);
  EXPECT_EQ(five.current(), 2);
  EXPECT_EQ(items(five), (std::vector<int>{1, 2}));
  EXPECT_EQ(five.last(), 2);
  // The tail was cut properly: appending goes after the second element.
  five.enqueue(3);
  EXPECT_EQ(items(five), (std::vector<int>{1, 2, 3}));
}

TEST(ListTest, AssignmentGrowsAndPlacesCursorOnCopiedElement) {
  List<int> source;
  for (int i = 0; i < 5; ++i) {
    source.enqueue(i);
  }
  source.goToFirst();
  for (int i = 0; i < 3; ++i) {
    source.next();
  }
  List<int> target;
  target.enqueue(42);
  target = source;
  EXPECT_EQ(target.current(), 3);
  EXPECT_EQ(items(target), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(target.len(), 5u);
}

TEST(ListTest, AssigningEmptyListEmpties) {
  List<int> list;
  list.enqueue(1);
  list.enqueue(2);
  List<int> empty;
  list = empty;
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.len(), 0u);
  list = list;  // self-assignment changes nothing
  EXPECT_TRUE(list.isEmpty());
}

TEST(ListTest, CopyConstructorKeepsCursorOnLastElement) {
  List<std::string> list;
  list.enqueue("a");
  list.enqueue("b");
  list.enqueue("c");
  items(list);  // leaves the cursor on "c"
  List<std::string> copy(list);
  EXPECT_EQ(copy.current(), "c");
  EXPECT_EQ(items(copy), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ListTest, PointerItemsAreNotFreedByTheList) {
  int* value = new int(5);
  {
    List<int*> list;
    list.enqueue(value);
    List<int*> copy = list;
  }
  EXPECT_EQ(*value, 5);  // still alive: the list never owned the pointee
  delete value;
}

// A random mix of operations checked against std::list; the cursor is
// modelled as an index.
TEST(ListTest, AgreesWithModelUnderRandomOperations) {
  std::mt19937 rng(12345);
  List<int> list;
  std::list<int> model;
  long cursor = -1;  // index into model, -1 when empty
  for (int step = 0; step < 20000; ++step) {
    SCOPED_TRACE(step);
    int op = static_cast<int>(rng() % 7);
    int value = static_cast<int>(rng() % 1000);
    switch (op) {
      case 0:
        list.enqueue(value);
        model.push_back(value);
        if (cursor < 0) {
          cursor = 0;
        }
        break;
      case 1:
        list.push(value);
        model.push_front(value);
        cursor = cursor < 0 ? 0 : cursor + 1;
        break;
      case 2:
      case 3:
        if (!model.empty()) {
          ASSERT_EQ(list.pop(), model.front());
          model.pop_front();
          cursor = model.empty() ? -1 : (cursor == 0 ? 0 : cursor - 1);
        }
        break;
      case 4:
        list.goToFirst();
        cursor = model.empty() ? -1 : 0;
        break;
      case 5: {
        bool moved = list.next();
        bool expected = cursor >= 0 && cursor + 1 < static_cast<long>(model.size());
        ASSERT_EQ(moved, expected);
        if (expected) {
          ++cursor;
        }
        break;
      }
      case 6: {
        List<int> copy;
        for (int i = 0; i < value % 5; ++i) {
          copy.enqueue(i);
        }
        copy = list;
        const char* why = "";
        ASSERT_TRUE(copy.isValid(&why)) << why;
        list = copy;  // round trip through assignment keeps everything
        break;
      }
    }
    const char* why = "";
    ASSERT_TRUE(list.isValid(&why)) << why;
    ASSERT_EQ(list.len(), model.size());
    ASSERT_EQ(list.isEmpty(), model.empty());
    if (!model.empty()) {
      ASSERT_EQ(list.first(), model.front());
      ASSERT_EQ(list.last(), model.back());
      ASSERT_EQ(list.current(), *std::next(model.begin(), cursor));
    }
  }
}

}  // namespace
