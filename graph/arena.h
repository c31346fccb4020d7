#ifndef GRAPH_ARENA_H_
#define GRAPH_ARENA_H_

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#ifndef GRAPH_ARENA_HUGE_PAGES
#define GRAPH_ARENA_HUGE_PAGES 1
#endif

// Storage for the records of one graph, handed out by bumping a cursor
// through large blocks and given back only as a whole, when the graph goes.
//
// Why: a graph of millions of adjacencies makes millions of small records
// that all live exactly as long as the graph. Carving them from big blocks
// saves malloc's per-record header, keeps records made together close
// together, and lets the graph end without visiting its records one by one.
// Fresh memory costs a page fault per page touched, which on virtual machines
// dominates the time spent building a graph; on Linux the large blocks are
// therefore mapped on 2 MiB boundaries and marked for transparent huge pages,
// which cuts the faults by a factor of 512 where the kernel offers them.
// Where it does not (another system, huge pages disabled, mmap refused, or a
// build configured with PLANDREX_HUGE_PAGES=OFF) the blocks come from the heap.
//
// Under AddressSanitizer every record is a heap block of its own, released
// with the arena, so that overruns of single records are still caught.
#if defined(__SANITIZE_ADDRESS__)
#define GRAPH_ARENA_RECORD_BY_RECORD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GRAPH_ARENA_RECORD_BY_RECORD 1
#endif
#endif

class Arena {
 public:
  Arena() = default;
  ~Arena() { release(); }
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  // Uninitialised room for size bytes aligned to align (a power of two at
  // most alignof(std::max_align_t)); valid until release().
  void* allocate(std::size_t size, std::size_t align) {
#ifdef GRAPH_ARENA_RECORD_BY_RECORD
    (void)align;
    void* record = ::operator new(size);
    records.push_back(record);
    return record;
#else
    std::uintptr_t at = (reinterpret_cast<std::uintptr_t>(cursor) + (align - 1)) &
                        ~static_cast<std::uintptr_t>(align - 1);
    if (cursor == nullptr || at + size > reinterpret_cast<std::uintptr_t>(limit)) {
      grow(size + align);
      at = (reinterpret_cast<std::uintptr_t>(cursor) + (align - 1)) &
           ~static_cast<std::uintptr_t>(align - 1);
    }
    cursor = reinterpret_cast<char*>(at + size);
    return reinterpret_cast<void*>(at);
#endif
  }

  // Ends every record but keeps the blocks for the records to come: a graph
  // emptied to be filled again (each input of a multi-differential run)
  // then writes into memory it has touched already, instead of paying the
  // system a fault and the zeroing of every fresh page once more.
  void recycle() {
#ifdef GRAPH_ARENA_RECORD_BY_RECORD
    release();
#else
    while (blocks != nullptr) {
      Block* block = blocks;
      blocks = block->next;
      block->next = spare;
      spare = block;
    }
    cursor = limit = nullptr;
    nextBlockSize = kFirstBlockSize;
#endif
  }

  // Gives back every block; the arena can be used again afterwards.
  void release() {
#ifdef GRAPH_ARENA_RECORD_BY_RECORD
    for (void* record : records) {
      ::operator delete(record);
    }
    records.clear();
#endif
    for (Block** list : {&blocks, &spare}) {
      while (*list != nullptr) {
        Block* block = *list;
        *list = block->next;
        freeBlock(block);
      }
    }
    cursor = limit = nullptr;
    nextBlockSize = kFirstBlockSize;
  }

  // Whether large blocks are mapped for huge pages: as the build chose
  // (GRAPH_ARENA_HUGE_PAGES, set by the PLANDREX_HUGE_PAGES option), where
  // the system has them. Tests switch it to run both ways.
  static bool& hugePages() {
    static bool enabled = kHugePagesByDefault;
    return enabled;
  }

 private:
  struct Block {
    Block* next;
    std::size_t size;
    bool mapped;
  };

  // Small graphs (the many made by tests and by the overlap of two small
  // inputs) stay small; big ones soon reach blocks of kMaxBlockSize.
  static constexpr std::size_t kFirstBlockSize = std::size_t{16} << 10;
  static constexpr std::size_t kMaxBlockSize = std::size_t{64} << 20;
  static constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

#if defined(__linux__) && defined(MADV_HUGEPAGE) && GRAPH_ARENA_HUGE_PAGES
  static constexpr bool kHugePagesByDefault = true;
#else
  static constexpr bool kHugePagesByDefault = false;
#endif

  void grow(std::size_t atLeast) {
    std::size_t size = nextBlockSize;
    while (size < atLeast + sizeof(Block)) {
      size *= 2;
    }
    if (nextBlockSize < kMaxBlockSize) {
      nextBlockSize *= 2;
    }
    Block* block = takeSpare(size);
    if (block != nullptr) {
      useBlock(block);
      return;
    }
    block = mapBlock(size);
    if (block == nullptr) {
      block = static_cast<Block*>(::operator new(size));
      block->mapped = false;
    }
    block->size = size;
    useBlock(block);
  }

  void useBlock(Block* block) {
    block->next = blocks;
    blocks = block;
    cursor = reinterpret_cast<char*>(block + 1);
    limit = reinterpret_cast<char*>(block) + block->size;
  }

  // The first kept block of at least size bytes, taken off the spare list.
  Block* takeSpare(std::size_t size) {
    for (Block** link = &spare; *link != nullptr; link = &(*link)->next) {
      if ((*link)->size >= size) {
        Block* block = *link;
        *link = block->next;
        return block;
      }
    }
    return nullptr;
  }

  // A block of whole huge pages on a huge page boundary, or null when huge
  // pages are off or the mapping fails (the caller then takes heap memory).
  static Block* mapBlock(std::size_t& size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (!hugePages() || size < kHugePageSize) {
      return nullptr;
    }
    size = (size + kHugePageSize - 1) & ~(kHugePageSize - 1);
    // Map one huge page more than needed, then cut the unaligned ends off.
    const std::size_t span = size + kHugePageSize;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
      return nullptr;
    }
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePageSize - 1) & ~(kHugePageSize - 1);
    if (aligned > start) {
      munmap(raw, aligned - start);
    }
    const std::uintptr_t end = start + span;
    if (end > aligned + size) {
      munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    }
    // Only a hint: without it the block still works, with small pages.
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    Block* block = reinterpret_cast<Block*>(aligned);
    block->mapped = true;
    return block;
#else
    (void)size;
    return nullptr;
#endif
  }

  static void freeBlock(Block* block) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (block->mapped) {
      munmap(block, block->size);
      return;
    }
#endif
    ::operator delete(block);
  }

  std::size_t nextBlockSize = kFirstBlockSize;
  char* cursor = nullptr;
  char* limit = nullptr;
  Block* blocks = nullptr;
  Block* spare = nullptr;  // kept by recycle
#ifdef GRAPH_ARENA_RECORD_BY_RECORD
  std::vector<void*> records;
#endif
};

#endif  // GRAPH_ARENA_H_
