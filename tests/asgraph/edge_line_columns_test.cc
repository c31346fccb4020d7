#include "asgraph/edge_line_columns.h"

#include <gtest/gtest.h>

#include "tests/support/as_record_checks.h"

namespace {

// A value of the column's kind: the baseline when marked is false, else one
// that differs from the baseline and from a default record.
ColumnValue valueFor(ColumnConversion conversion, bool marked, int column) {
  ColumnValue value;
  if (!marked) {
    return value;
  }
  switch (conversion) {
    case ColumnConversion::kFlag:
      value.number = 1;
      break;
    case ColumnConversion::kDirection:
      value.direction = dir_backward;
      break;
    case ColumnConversion::kStability:
      value.real = 0.25f;
      break;
    default:
      value.number = 1000 + static_cast<unsigned>(column);
      break;
  }
  return value;
}

bool sameValue(const ColumnValue& a, const ColumnValue& b) {
  return a.number == b.number && a.direction == b.direction && a.real == b.real;
}

// Each column is its own: what a column stores, it loads back, and no other
// column sees it. A row that wrote or read another column's field, or whose
// store and load named different fields, fails here.
TEST(EdgeLineColumnsTest, EachColumnLoadsWhatItStoresAndNothingElse) {
  for (int marked = 0; marked < kDifferentialEdgeColumns; ++marked) {
    SCOPED_TRACE(testing::Message() << "column " << marked + 1);
    ASEdgeWeight forward;
    ASEdgeWeight backward;
    EdgeLine line;
    line.forward = &forward;
    line.backward = &backward;
    for (int i = 0; i < kDifferentialEdgeColumns; ++i) {
      kEdgeColumns[i].store(line, valueFor(kEdgeColumns[i].conversion, false, i));
    }
    kEdgeColumns[marked].store(line, valueFor(kEdgeColumns[marked].conversion, true, marked));
    for (int i = 0; i < kDifferentialEdgeColumns; ++i) {
      SCOPED_TRACE(testing::Message() << "loaded column " << i + 1);
      const WrittenEdgeLine written{line.first, line.second, line.dir, &forward, &backward};
      EXPECT_TRUE(sameValue(kEdgeColumns[i].load(written),
                            valueFor(kEdgeColumns[i].conversion, i == marked, i)));
    }
    // Whatever one column sets, the two records stay partners.
    expectPartnerRecords(forward, backward);
  }
}

}  // namespace
