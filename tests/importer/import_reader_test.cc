#include "importer/import_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "importer/relationship_table.h"
#include "tests/e2e/temp_dir.h"
#include "tests/importer/compressed_bytes.h"

namespace {

TEST(ImportReaderTest, RelationshipFileAnswersLookupsFromEitherEnd) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("rel.gz", importer_test::gzipped("# header\n"
                                                         "1|2|-1|bgp\n"
                                                         "3|2|0|mlp\n"
                                                         "4|1|-1|bgp\n4|1|0|bgp\n"
                                                         "5|5|0|bgp\n"
                                                         "1|70000|-1|bgp\n")));
  RelationshipTable table;
  std::string message;
  ASSERT_EQ(readRelationshipFile(dir.file("rel.gz").c_str(), table, message), ReadResult::kRead)
      << message;
  struct Lookup {
    ASNumber first, second;
    bool found;
    Relationship relationship;
  };
  const Lookup lookups[] = {
      {1, 2, true, Relationship::kProviderOf},     {2, 1, true, Relationship::kCustomerOf},
      {2, 3, true, Relationship::kPeering},        {1, 4, true, Relationship::kUnoriented},
      {5, 5, false, Relationship::kUnoriented},     // self-loops are dropped
      {70000, 1, true, Relationship::kCustomerOf},  // 32-bit AS numbers stay
      {1, 3, false, Relationship::kUnoriented},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(testing::Message() << l.first << "-" << l.second);
    Relationship relationship = Relationship::kUnoriented;
    EXPECT_EQ(table.lookup(l.first, l.second, relationship), l.found);
    EXPECT_EQ(relationship, l.relationship);
  }
  EXPECT_EQ(table.adjacencies(), 4u);
}

TEST(ImportReaderTest, RelationshipFileFailures) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("links.txt", "1 2\n"));
  ASSERT_TRUE(dir.write("bad.txt", "1|2|0\n1|2\n"));
  RelationshipTable table;
  std::string message;
  const std::string links = dir.file("links.txt");
  EXPECT_EQ(readRelationshipFile(links.c_str(), table, message), ReadResult::kInvalid);
  // --format does not apply to it: no hint to name it so.
  EXPECT_EQ(message, links +
                         ":1: unknown format of line `1 2' (a relationship file is serial-1, "
                         "serial-2 or snap-caida)\n");
  const std::string bad = dir.file("bad.txt");
  EXPECT_EQ(readRelationshipFile(bad.c_str(), table, message), ReadResult::kInvalid);
  EXPECT_EQ(message, bad + ":2: expected 3 fields separated by `|', found 2\n");
  // Bytes that open an MRT record are no relationship format either (they once made a routing
  // table that was then taken for links).
  ASSERT_TRUE(dir.write(
      "mrt.bin", std::string("\x05\x31\x05\x00\x00\x00\x31\x00", 8) + std::string(41, '\0')));
  const std::string mrt = dir.file("mrt.bin");
  EXPECT_EQ(readRelationshipFile(mrt.c_str(), table, message), ReadResult::kInvalid);
  EXPECT_EQ(message.rfind(mrt + ":1: unknown format of line", 0), 0u) << message;
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(readRelationshipFile(missing.c_str(), table, message), ReadResult::kCannotOpen);
  EXPECT_EQ(message, "Unable to open file `" + missing + "'\n(No such file or directory)\n");
}

}  // namespace
