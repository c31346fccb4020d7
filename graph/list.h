#ifndef GRAPH_LIST_H_
#define GRAPH_LIST_H_

#include <cstdint>

#include "graph/record_pool.h"
#include "graph/validity.h"

// Doubly linked list with one built-in cursor. The same class is used as a
// FIFO queue (enqueue/dequeue), as a stack (push/pop) and as a sequence walked
// with the cursor (goToFirst/current/next).
//
// The list owns its elements and the item values in them; for a pointer T the
// pointee is never freed. Copying copies the items and the cursor position.
//
// The cursor is null exactly when the list is empty. pop, dequeue, first, last
// and current on an empty list change nothing and return a default T.
template <class T>
class List {
 public:
  struct list_element {
    T item{};
    list_element* prevElement = nullptr;
    list_element* nextElement = nullptr;
  };

  List() = default;
  List(const List& other);
  // Takes other's elements and cursor without copying; other is left empty.
  List(List&& other) noexcept { takeFrom(other); }
  ~List();
  List& operator=(const List& other);
  List& operator=(List&& other) noexcept;

  // Appends at the tail; the cursor moves only when the list was empty.
  void enqueue(const T& item);
  // Inserts at the head; the cursor moves only when the list was empty.
  void push(const T& item);
  // Removes the head and returns its item. When the head was under the cursor
  // the cursor moves to the following element.
  T pop();
  // Same as pop: with enqueue this gives FIFO order.
  T dequeue() { return pop(); }

  T first() const { return head != nullptr ? head->item : T(); }
  T last() const { return tail != nullptr ? tail->item : T(); }
  T current() const { return cursor != nullptr ? cursor->item : T(); }

  void goToFirst() { cursor = head; }
  // Moves the cursor towards the tail; false (and no move) on the tail element
  // or on an empty list, so after a walk the cursor rests on the last element.
  bool next();

  bool isEmpty() const { return cursor == nullptr; }
  std::uint64_t len() const { return count; }

  // Walks the whole list: links agree both ways, the ends are the ends, the
  // count matches the elements, and the cursor is on an element exactly when
  // the list is not empty. false: *why (if given) names the broken rule.
  bool isValid(const char** why = nullptr) const;

 private:
  // Every element is made and freed here.
  static list_element* newElement(const T& item, list_element* prev, list_element* next);
  static void freeElement(list_element* element) { RecordPool<list_element>::destroy(element); }
  void freeChain(list_element* from);
  void takeFrom(List& other) noexcept;

  list_element* head = nullptr;
  list_element* cursor = nullptr;
  list_element* tail = nullptr;
  std::uint64_t count = 0;
};

template <class T>
typename List<T>::list_element* List<T>::newElement(const T& item, list_element* prev,
                                                    list_element* next) {
  list_element* element = RecordPool<list_element>::make();
  element->item = item;
  element->prevElement = prev;
  element->nextElement = next;
  return element;
}

template <class T>
void List<T>::freeChain(list_element* from) {
  while (from != nullptr) {
    list_element* following = from->nextElement;
    freeElement(from);
    from = following;
  }
}

template <class T>
List<T>::List(const List& other) {
  // Assigning into an empty list appends copies and places the cursor.
  *this = other;
}

template <class T>
void List<T>::takeFrom(List& other) noexcept {
  head = other.head;
  cursor = other.cursor;
  tail = other.tail;
  count = other.count;
  other.head = other.cursor = other.tail = nullptr;
  other.count = 0;
}

template <class T>
List<T>& List<T>::operator=(List&& other) noexcept {
  if (this != &other) {
    freeChain(head);
    takeFrom(other);
  }
  return *this;
}

template <class T>
List<T>::~List() {
  freeChain(head);
}

template <class T>
List<T>& List<T>::operator=(const List& other) {
  if (this == &other) {
    return *this;
  }
  // Reuse the elements this list already has, writing other's items into them.
  list_element* mine = head;
  list_element* theirs = other.head;
  list_element* lastWritten = nullptr;
  bool cursorPlaced = false;
  while (mine != nullptr && theirs != nullptr) {
    mine->item = theirs->item;
    if (theirs == other.cursor) {
      cursor = mine;
      cursorPlaced = true;
    }
    lastWritten = mine;
    mine = mine->nextElement;
    theirs = theirs->nextElement;
  }
  if (mine != nullptr) {
    // Cut off and free the elements other has no counterpart for.
    if (lastWritten != nullptr) {
      lastWritten->nextElement = nullptr;
      tail = lastWritten;
    } else {
      head = nullptr;
      tail = nullptr;
    }
    if (!cursorPlaced) {
      cursor = head;
    }
    freeChain(mine);
  }
  for (; theirs != nullptr; theirs = theirs->nextElement) {
    enqueue(theirs->item);
    if (theirs == other.cursor) {
      cursor = tail;
    }
  }
  count = other.count;
  return *this;
}

template <class T>
void List<T>::enqueue(const T& item) {
  list_element* element = newElement(item, tail, nullptr);
  if (tail != nullptr) {
    tail->nextElement = element;
  }
  tail = element;
  if (head == nullptr) {
    head = element;
    cursor = element;
  }
  ++count;
}

template <class T>
void List<T>::push(const T& item) {
  list_element* element = newElement(item, nullptr, head);
  if (head != nullptr) {
    head->prevElement = element;
  }
  head = element;
  if (tail == nullptr) {
    tail = element;
    cursor = element;
  }
  ++count;
}

template <class T>
T List<T>::pop() {
  if (head == nullptr) {
    return T();
  }
  list_element* old = head;
  T result = old->item;
  --count;
  if (cursor == old) {
    cursor = old->nextElement;
  }
  head = old->nextElement;
  freeElement(old);
  if (head == nullptr) {
    tail = nullptr;
  } else {
    head->prevElement = nullptr;
  }
  return result;
}

template <class T>
bool List<T>::next() {
  if (cursor == nullptr || cursor->nextElement == nullptr) {
    return false;
  }
  cursor = cursor->nextElement;
  return true;
}

template <class T>
bool List<T>::isValid(const char** why) const {
  if ((head == nullptr) != (tail == nullptr) || (head == nullptr) != (cursor == nullptr)) {
    return invalidBecause(why, "list ends and cursor disagree on emptiness");
  }
  if (head != nullptr && head->prevElement != nullptr) {
    return invalidBecause(why, "list head has a predecessor");
  }
  std::uint64_t seen = 0;
  bool cursorSeen = cursor == nullptr;
  const list_element* previous = nullptr;
  for (const list_element* e = head; e != nullptr; e = e->nextElement) {
    if (e->prevElement != previous) {
      return invalidBecause(why, "list links disagree between neighbours");
    }
    // Also stops a walk round a cycle.
    if (++seen > count) {
      return invalidBecause(why, "list has more elements than its count");
    }
    cursorSeen = cursorSeen || e == cursor;
    previous = e;
  }
  if (previous != tail) {
    return invalidBecause(why, "list tail is not the last element");
  }
  if (seen != count) {
    return invalidBecause(why, "list has fewer elements than its count");
  }
  if (!cursorSeen) {
    return invalidBecause(why, "list cursor is not on one of its elements");
  }
  return true;
}

#endif  // GRAPH_LIST_H_
