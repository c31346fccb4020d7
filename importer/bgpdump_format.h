#ifndef IMPORTER_BGPDUMP_FORMAT_H_
#define IMPORTER_BGPDUMP_FORMAT_H_

#include <cstdio>
#include <string>

#include "importer/import_format.h"
#include "importer/rib_graph.h"

// Routing tables as `bgpdump -m` prints them, made into a graph with path
// and IP-address covering values. Every line is taken: lines that are not
// usable routes are counted by reason and skipped, so several tables (other
// collectors or dates) can be fed one after the other as one table.
class BgpdumpImport : public ImportFormat {
 public:
  // lookup orients the adjacencies (see RibGraphBuilder::build); classic:
  // AS numbers 1 to 65535 only; announcements: UPDATE announcements are
  // routes too.
  BgpdumpImport(RelationshipLookup lookup, bool classic, bool announcements);

  // Where MRT input, read elsewhere, puts its routes.
  RibGraphBuilder& routes() { return builder; }

  bool takeLine(const char* begin, const char* end, std::string& reason) override;
  void buildGraph(ASGraph& graph) override;
  void printCounts(FILE* stream) const override;
  std::uint64_t adjacenciesDropped() const override { return builder.counts().adjacenciesDropped; }
  std::uint64_t adjacenciesWithDropped() const override {
    return builder.counts().adjacencies + builder.counts().adjacenciesDropped;
  }

 private:
  RelationshipLookup relationships;
  RibGraphBuilder builder;
};

// A line that bgpdump -m prints: its first field is TABLE_DUMP, TABLE_DUMP2 or
// TABLE_DUMP2_AP (table dumps) or BGP4MP, BGP4MP_ET, BGP4MP_AP or
// BGP4MP_ET_AP (updates, whose lines are skipped as not being table entries
// unless announcements are routes), followed by '|'.
bool recognisesBgpdumpLine(const char* begin, const char* end);

#endif  // IMPORTER_BGPDUMP_FORMAT_H_
