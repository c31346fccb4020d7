#include "table/node_table.h"

#include "engine/node_compare.h"

void writeNodeRows(ASGraph& first, ASGraph& second, RowWriter& rows) {
  static const char* const kSides[] = {"first", "second", "both"};
  walkNodeUnion(first, second, [&rows](unsigned short as, NodeSide side) {
    rows.number(as);
    rows.word(kSides[static_cast<int>(side)]);
    rows.endRow();
  });
}
