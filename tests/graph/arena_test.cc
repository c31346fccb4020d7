#include "graph/arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Records of mixed sizes and alignments, enough to fill several blocks up
// to the mapped size, must be aligned, disjoint and keep what was written
// into them, with huge pages on and with the heap fallback; after recycle
// the arena serves the same requests from the very blocks it kept, at the
// same addresses, and after release it serves them again.
TEST(ArenaTest, RecordsAreAlignedDisjointAndKeepTheirBytes) {
  const bool hugePages = Arena::hugePages();
  for (bool huge : {true, false}) {
    SCOPED_TRACE(huge);
    Arena::hugePages() = huge;
    Arena arena;
    std::vector<unsigned char*> firstRound;
    for (int round = 0; round < 3; ++round) {
      std::vector<std::pair<unsigned char*, std::size_t>> records;
      std::size_t total = 0;
      for (std::size_t i = 0; total < (std::size_t{6} << 20); ++i) {
        const std::size_t size = i % 7 == 0 ? 100000 : 1 + (i * 37) % 200;
        const std::size_t align = std::size_t{1} << (i % 4);
        auto* record = static_cast<unsigned char*>(arena.allocate(size, align));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(record) % align, 0u);
        std::memset(record, static_cast<int>(i & 0xff), size);
        records.emplace_back(record, size);
        total += size;
      }
      for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& record = records[i];
        ASSERT_EQ(record.first[0], static_cast<unsigned char>(i & 0xff));
        ASSERT_EQ(record.first[record.second - 1], static_cast<unsigned char>(i & 0xff));
      }
      if (round == 0) {
        for (const auto& record : records) {
          firstRound.push_back(record.first);
        }
      }
#ifndef GRAPH_ARENA_RECORD_BY_RECORD
      if (round == 1) {
        for (std::size_t i = 0; i < records.size(); ++i) {
          ASSERT_EQ(records[i].first, firstRound[i]) << "record " << i;
        }
      }
#endif
      std::sort(records.begin(), records.end());
      for (std::size_t i = 1; i < records.size(); ++i) {
        ASSERT_LE(records[i - 1].first + records[i - 1].second, records[i].first);
      }
      if (round == 0) {
        arena.recycle();
      } else {
        arena.release();
      }
    }
  }
  Arena::hugePages() = hugePages;
}

}  // namespace
