#include "graph/record_pool.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Counted {
  static int alive;
  std::string text;
  explicit Counted(std::string t = "") : text(std::move(t)) { ++alive; }
  ~Counted() { --alive; }
};
int Counted::alive = 0;

TEST(RecordPoolTest, RecordsAreDistinctIntactAndDestroyed) {
  std::vector<Counted*> records;
  // Enough records to need several chunks of growing size.
  for (int i = 0; i < 20000; ++i) {
    records.push_back(RecordPool<Counted>::make(std::to_string(i)));
  }
  EXPECT_EQ(Counted::alive, 20000);
  std::set<Counted*> distinct(records.begin(), records.end());
  EXPECT_EQ(distinct.size(), records.size());
  for (int i = 0; i < 20000; i += 2) {
    RecordPool<Counted>::destroy(records[i]);
  }
  EXPECT_EQ(Counted::alive, 10000);
  // Records made after some were freed must not disturb the survivors.
  std::vector<Counted*> more;
  for (int i = 0; i < 15000; ++i) {
    more.push_back(RecordPool<Counted>::make("again"));
  }
  for (int i = 1; i < 20000; i += 2) {
    EXPECT_EQ(records[i]->text, std::to_string(i));
    RecordPool<Counted>::destroy(records[i]);
  }
  for (Counted* c : more) {
    EXPECT_EQ(c->text, "again");
    RecordPool<Counted>::destroy(c);
  }
  EXPECT_EQ(Counted::alive, 0);
  RecordPool<Counted>::destroy(nullptr);
}

}  // namespace
