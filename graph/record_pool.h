#ifndef GRAPH_RECORD_POOL_H_
#define GRAPH_RECORD_POOL_H_

#include <cstddef>
#include <new>
#include <utility>

// Storage for the small records that the containers create by the million
// (list elements, tree nodes, adjacency records). Records of one type are
// carved out of large chunks and recycled through a free list, which saves
// malloc's per-block header and bookkeeping and keeps records that are made
// together close together in memory.
//
// The chunks are never given back: freed records only return to the free
// list, to be reused by the next graph of the run. The program is
// single-threaded and so is the pool.
//
// Under AddressSanitizer the pool steps aside and every record is a plain
// heap block again, so that leaks, double frees and uses after free of single
// records are still caught.
#if defined(__SANITIZE_ADDRESS__)
#define GRAPH_RECORD_POOL_DISABLED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GRAPH_RECORD_POOL_DISABLED 1
#endif
#endif

template <class T>
class RecordPool {
 public:
  template <class... Args>
  static T* make(Args&&... args) {
#ifdef GRAPH_RECORD_POOL_DISABLED
    return new T(std::forward<Args>(args)...);
#else
    return new (takeSlot()) T(std::forward<Args>(args)...);
#endif
  }

  static void destroy(T* record) {
#ifdef GRAPH_RECORD_POOL_DISABLED
    delete record;
#else
    if (record == nullptr) {
      return;
    }
    record->~T();
    Slot* slot = reinterpret_cast<Slot*>(record);
    slot->next = freeList();
    freeList() = slot;
#endif
  }

 private:
  union Slot {
    Slot* next;
    alignas(T) unsigned char storage[sizeof(T)];
  };

  // Grows geometrically up to this many records per chunk.
  static constexpr std::size_t kMaxChunkRecords = std::size_t{1} << 16;

  static Slot*& freeList() {
    static Slot* head = nullptr;
    return head;
  }

  static void* takeSlot() {
    Slot*& head = freeList();
    if (head == nullptr) {
      refill();
    }
    Slot* slot = head;
    head = slot->next;
    return slot->storage;
  }

  // Every chunk starts with one slot that links the chunks together, so that
  // each stays reachable from here for the whole run.
  static Slot*& chunks() {
    static Slot* head = nullptr;
    return head;
  }

  static void refill() {
    static std::size_t chunkRecords = 64;
    Slot* chunk = static_cast<Slot*>(::operator new((chunkRecords + 1) * sizeof(Slot)));
    chunk[0].next = chunks();
    chunks() = chunk;
    Slot* records = chunk + 1;
    // Thread the new records in address order, so that records made one
    // after the other lie one after the other.
    for (std::size_t i = 0; i + 1 < chunkRecords; ++i) {
      records[i].next = &records[i + 1];
    }
    records[chunkRecords - 1].next = freeList();
    freeList() = records;
    if (chunkRecords < kMaxChunkRecords) {
      chunkRecords *= 2;
    }
  }
};

#endif  // GRAPH_RECORD_POOL_H_
