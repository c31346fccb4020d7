#include "table/node_table.h"

#include "engine/node_compare.h"

namespace {

// The `in` column, by NodeSide.
const char* const kSides[] = {"first", "second", "both"};

}  // namespace

void writeNodeRows(ASGraph& first, ASGraph& second, RowWriter& rows) {
  walkNodeUnion(first, second, [&rows](auto as, NodeSide side) {
    rows.number(as);
    rows.word(kSides[static_cast<int>(side)]);
    rows.endRow();
  });
}
