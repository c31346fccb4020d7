#include "plandrex/help.h"

#include <cstdio>

#include "consoletools/terminal.h"
#include "plandrex/banner.h"

namespace {

// What a help line's "%s" placeholders are filled with: bold and reset, the program name, or
// underline and reset. Plain lines are written verbatim.
enum Fill { kPlain, kBold, kProgramName, kUnderline };

struct HelpLine {
  Fill fill;
  const char* text;
};

// clang-format off
const HelpLine kHelpLines[] = {
    {kBold, "%sVARNOK toolkit%s AS graph compare tool"},
    {kProgramName, "USAGE: %s [options] [mode] [[-o] <outFile>] {[-s] <filename>...}"},
    {kPlain, ""},
    {kPlain, "By default, output shows a series of statistics about the differences"},
    {kPlain, "between the two provided graphs. Anyway, by using any of the modes listed"},
    {kPlain, "below, output can be changed."},
    {kPlain, ""},
    {kUnderline, "%sMode%s can be at most one of:"},
    {kPlain, "  -l       Show a list of the nodes that appear only in the first graph,"},
    {kPlain, "           only in the second one and in both of them; the first input"},
    {kPlain, "           file name on the command line is assumed to be the `first'"},
    {kPlain, "           graph, while the other file name corresponds to the `second'"},
    {kPlain, "           graph; output will be a list of node numbers, each one preceded"},
    {kPlain, "           by a '<', '>' or '|' symbol if, respectively, the node is found"},
    {kPlain, "           to be present only in the first, only in the second or in both"},
    {kPlain, "           graphs"},
    {kPlain, ""},
    {kPlain, "  --over:<conds>  Build an `overlap' or `differential' graph, which is a"},
    {kPlain, "                  graph that has an edge (and, of course, its two terminal"},
    {kPlain, "                  nodes) whenever the latter is found to exist in both the"},
    {kPlain, "                  source graphs and to satisfy a series of conditions that"},
    {kPlain, "                  are listed in the <conds> part of the option; <conds> is"},
    {kPlain, "                  a list of comma separated combinations of the characters"},
    {kPlain, "                  listed below; each item of this list is logically \"or\"ed"},
    {kPlain, "                  with the others, while conditions within a single item"},
    {kPlain, "                  must hold simultaneously (logical \"and\"); in other"},
    {kPlain, "                  words, <conds> represents a DNF formula. Available"},
    {kPlain, "                  conditions are:"},
    {kPlain, "                    a:     insert the edge anyway"},
    {kPlain, "                    o(O):  insert the edge if it is found to be oriented"},
    {kPlain, "                           in the first (second) graph"},
    {kPlain, "                    u(U):  insert the edge if it is found to be unoriented"},
    {kPlain, "                           in the first (second) graph"},
    {kPlain, "                    x:     insert the edge if it is directed in both"},
    {kPlain, "                           graphs and the two directions are opposite"},
    {kPlain, "                    y:     insert the edge if it is oriented in both"},
    {kPlain, "                           graphs and the two orientations are different"},
    {kPlain, "                    p(P):  insert the edge if it is found to be a peering"},
    {kPlain, "                           edge in the first (second) graph"},
    {kPlain, "                    d(D):  insert the edge if it is found to be a directed"},
    {kPlain, "                           edge in the first (second) graph"},
    {kPlain, "                    w:     insert the edge if its weight in the two graphs"},
    {kPlain, "                           differs"},
    {kPlain, "                  Overlap graph is made up of unoriented edges only."},
    {kPlain, ""},
    {kPlain, "  --comp:<conds>  This option is very similar to the previous one, but"},
    {kPlain, "                  this time edges are inserted whenever they only exist"},
    {kPlain, "                  in one of the graphs (that is why the generated graph"},
    {kPlain, "                  is called `complementary') and they have the properties"},
    {kPlain, "                  listed in <conds>; the format of the <conds> list is"},
    {kPlain, "                  identical to that of the previous option, but the"},
    {kPlain, "                  conditions themselves are a little different:"},
    {kPlain, "                    a(A):  insert the edge if it just exists in the first"},
    {kPlain, "                           (second) graph"},
    {kPlain, "                    u(U):  insert the edge if it is an unoriented edge in"},
    {kPlain, "                           the first (second) graph"},
    {kPlain, "                    o(O):  insert the edge if it is an oriented edge in"},
    {kPlain, "                           the first (second) graph"},
    {kPlain, "                    d(D):  insert the edge if it is a directed edge in the"},
    {kPlain, "                           first (second) graph"},
    {kPlain, "                    p(P):  insert the edge if it is a peering edge in the"},
    {kPlain, "                           first (second) graph"},
    {kPlain, "                  Unlike the overlap graph, the complementary graph is"},
    {kPlain, "                  made up of edges which appear exactly as they did in"},
    {kPlain, "                  the source graph."},
    {kPlain, ""},
    {kPlain, "  --multi  This option requires at least two input files, but there is no"},
    {kPlain, "           upper limit to their number. Files are read one after the"},
    {kPlain, "           other, in the order in which they are provided on command"},
    {kPlain, "           line. For each of the edges in the input graphs, an unoriented"},
    {kPlain, "           edge is inserted in a so called `multi-differential' graph; if"},
    {kPlain, "           such edge is found to already exist in the multi-differential"},
    {kPlain, "           graph, its attributes are just updated. Attributes concern"},
    {kPlain, "           statistics about the \"history\" of that edge (e.g., the"},
    {kPlain, "           number of graphs in which it was found to be unoriented). The"},
    {kPlain, "           returned graph is the so modified multi-differential graph"},
    {kPlain, "           (file format is the same as plain differential graphs)."},
    {kPlain, ""},
    {kUnderline, "%sOptions%s are:"},
    {kPlain, "  -n  Negate conditions for --over and --comp options (i.e., insert edges"},
    {kPlain, "      if the conditions in the <conds> list do NOT hold)"},
    {kPlain, "  -f  Do not ask user confirmation (default behaviour) when overwriting"},
    {kPlain, "      existing files"},
    {kPlain, "  --comment <string>  Insert into the graph a comment string; by default,"},
    {kPlain, "                      graphs are labelled with the name of the files they"},
    {kPlain, "                      were generated from"},
    {kPlain, "  --help  Show this help"},
    {kPlain, ""},
    {kPlain, ""},
    {kPlain, "<filename> is the name of an input file (a graph generated with"},
    {kPlain, "brenvick); use -s option to force following argument to be a source file"},
    {kPlain, "name whenever ambiguities may arise with other options on the command"},
    {kPlain, "line. Input files must be exactly 2, unless --multi option is used (see"},
    {kPlain, "above). Any of the input file names can be replaced with a dash ('-'), in"},
    {kPlain, "which case input for the corresponding graph will be taken from standard"},
    {kPlain, "input instead of a file."},
    {kPlain, ""},
    {kPlain, "By using -o option, any kind of output (but status messages) can be"},
    {kPlain, "directed to a file."},
};
// clang-format on
static_assert(sizeof(kHelpLines) / sizeof(kHelpLines[0]) == 99, "the help has 99 lines");

}  // namespace

void printHelp(FILE* stream, char* programName) {
  const bool terminal = isTerm(stream);
  const char* bold = terminal ? kBoldOn : "";
  const char* underline = terminal ? kUnderlineOn : "";
  const char* reset = terminal ? kAttributesOff : "";

  printHeader(stream);
  for (const HelpLine& line : kHelpLines) {
    switch (line.fill) {
      case kPlain:
        fputs(line.text, stream);
        break;
      case kBold:
        fprintf(stream, line.text, bold, reset);
        break;
      case kProgramName:
        fprintf(stream, line.text, programName);
        break;
      case kUnderline:
        fprintf(stream, line.text, underline, reset);
        break;
    }
    fputc('\n', stream);
  }
}
