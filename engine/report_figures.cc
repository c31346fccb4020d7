#include "engine/report_figures.h"

#include "engine/cmd_line_parameters.h"
#include "engine/diff_graph.h"
#include "engine/node_compare.h"

namespace {

using F = ComparisonFigures;

}  // namespace

// Note the order of the last three: opposite directions come before different ones.
const ReportFigure kReportFigures[kReportFigureCount] = {
    {"nodes_1", "Nodes in 1st graph:  ", [](const F& f) { return f.nodes1; }},
    {"nodes_only_1", "- only in 1st graph: ", [](const F& f) { return f.counts.nodesOnlyIn1st; }},
    {"nodes_2", "Nodes in 2nd graph:  ", [](const F& f) { return f.nodes2; }},
    {"nodes_only_2", "- only in 2nd graph: ", [](const F& f) { return f.counts.nodesOnlyIn2nd; }},
    {"nodes_common", "Common nodes:        ", [](const F& f) { return f.counts.commonNodes; }},
    {"edges_1", "Edges in 1st graph:  ", [](const F& f) { return f.edges1; }},
    {"edges_1_peering", "- peering:           ", [](const F& f) { return f.counts.peering1st; }},
    {"edges_1_directed", "- directed:          ",
     [](const F& f) { return f.counts.directed1st; }},
    {"edges_1_unoriented", "- unoriented:        ",
     [](const F& f) { return f.counts.unoriented1st; }},
    {"edges_only_1", "- only in 1st graph: ", [](const F& f) { return f.counts.edgesOnlyIn1st; }},
    {"edges_only_1_peering", "  * peering:         ",
     [](const F& f) { return f.counts.peeringOnlyIn1st; }},
    {"edges_only_1_directed", "  * directed:        ",
     [](const F& f) { return f.counts.directedOnlyIn1st; }},
    {"edges_only_1_unoriented", "  * unoriented:      ",
     [](const F& f) { return f.counts.unorientedOnlyIn1st; }},
    {"edges_2", "Edges in 2nd graph:  ", [](const F& f) { return f.edges2; }},
    {"edges_2_peering", "- peering:           ", [](const F& f) { return f.counts.peering2nd; }},
    {"edges_2_directed", "- directed:          ",
     [](const F& f) { return f.counts.directed2nd; }},
    {"edges_2_unoriented", "- unoriented:        ",
     [](const F& f) { return f.counts.unoriented2nd; }},
    {"edges_only_2", "- only in 2nd graph: ", [](const F& f) { return f.counts.edgesOnlyIn2nd; }},
    {"edges_only_2_peering", "  * peering:         ",
     [](const F& f) { return f.counts.peeringOnlyIn2nd; }},
    {"edges_only_2_directed", "  * directed:        ",
     [](const F& f) { return f.counts.directedOnlyIn2nd; }},
    {"edges_only_2_unoriented", "  * unoriented:      ",
     [](const F& f) { return f.counts.unorientedOnlyIn2nd; }},
    {"edges_common", "Common edges:        ", [](const F& f) { return f.counts.commonEdges; }},
    {"edges_common_opposite", "- oppositely dir.:   ",
     [](const F& f) { return f.counts.oppositelyDirected; }},
    {"edges_common_different", "- differently dir.:  ",
     [](const F& f) { return f.counts.differentlyDirected; }},
    {"edges_common_consistent", "- consistently dir.: ",
     [](const F& f) { return f.counts.consistentlyDirected; }},
};

ComparisonFigures compareForReport(ASGraph& graph1, ASGraph& graph2) {
  // No formula: the comparison only counts, and neither the output nor the graph it would
  // build is touched.
  cmdLineParameters params;
  params.listMode = false;
  params.negate = false;
  params.buildGraph = false;
  params.multiMode = false;
  params.force = false;
  params.help = false;
  ComparisonFigures figures;
  figures.nodes1 = graph1.nodes();
  figures.nodes2 = graph2.nodes();
  figures.edges1 = graph1.edges();
  figures.edges2 = graph2.edges();
  nodeCmp(nullptr, params, graph1, graph2, figures.counts);
  ASGraph unused;
  makeDiffGraph(nullptr, params, graph1, graph2, unused, figures.counts);
  return figures;
}

void printReportLines(FILE* out, const ComparisonFigures& figures, std::size_t begin,
                      std::size_t end) {
  for (std::size_t i = begin; i < end; ++i) {
    std::fprintf(out, "%s%10u\n", kReportFigures[i].label, kReportFigures[i].value(figures));
  }
}
