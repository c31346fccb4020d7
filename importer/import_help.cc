#include "importer/import_help.h"

#include <cstring>

#include "importer/format_registry.h"
#include "plandrex_version.h"

namespace {

// clang-format off
const char* const kUsage =
    "plandrex-import: convert public AS adjacency data into a plandrex graph file\n"
    "\n"
    "Usage: plandrex-import [options] INPUT...\n"
    "\n"
    "Reads INPUT, a file name or - for standard input, plain or compressed with\n"
    "gzip or bzip2 (told from its content), and writes a plain graph file with\n"
    "the AS adjacencies that it lists: ZNG when every AS number is at most\n"
    "65535, else the wide file ZNG32 (unless --classic is given). Several\n"
    "routing tables (format bgpdump: other collectors or dates) are read as one\n"
    "table; other formats take one INPUT.\n"
    "\n"
    "Input formats (told from the first data line, unless --format names one):\n";

const char* const kRules =
    "Lines whose first non-blank character is # or %, and empty lines, are\n"
    "skipped.\n"
    "\n"
    "Relationship files and link lists:\n"
    "  A provider-customer link becomes a directed adjacency, from the provider;\n"
    "  a peering link an oriented adjacency without a direction; siblings, plain\n"
    "  links and links whose relationship code the format does not define\n"
    "  become unoriented adjacencies (the last are counted as links of unknown\n"
    "  relationship type). Covering values are 0. AS numbers 1 to 4294967295\n"
    "  are kept (with --classic 1 to 65535): a link with another number (AS 0,\n"
    "  a 32-bit AS number with --classic) is dropped, while its end that is in\n"
    "  range stays a node. A pair listed more than once becomes one adjacency,\n"
    "  seen from its smaller AS number; if its relationships disagree, an\n"
    "  unoriented one. A link from an AS to itself is dropped unless\n"
    "  --keep-self-loops is given (the AS stays a node either way).\n"
    "\n"
    "Routing tables: only table entries (third field B; with --announcements\n"
    "also UPDATE announcements, A) with an IPv4 prefix are routes; MRT input\n"
    "counts the entries that bgpdump -m prints as such lines. The AS path ends\n"
    "before its first AS set ({...}); repeats of an AS (prepending) collapse\n"
    "into one; a path with a loop or a token that is not an AS number (decimal\n"
    "or X.Y; a confederation segment of MRT input is none) skips the route. Each\n"
    "pair X Y of a path is the adjacency traversed from X towards Y. Seen from\n"
    "X, its path covering value is the number of distinct paths traversing it\n"
    "from X towards Y, its IP-address covering value the number of addresses in\n"
    "the union of their routes' prefixes. A pair with AS 0 (with --classic also\n"
    "one with a number above 65535) is dropped, its other AS stays a node. Lines\n"
    "that are not usable routes are counted and skipped. Adjacencies are\n"
    "unoriented unless --relationships names a relationship file (serial-1,\n"
    "serial-2 or snap-caida) that lists them.\n"
    "\n"
    "Options:\n"
    "  -o FILE             write the graph to FILE instead of standard output;\n"
    "                      FILE is replaced only once the graph is complete\n"
    "  --source-name NAME  source file name stored in the graph (default: the\n"
    "                      base name of each input, - for standard input)\n"
    "  --description TEXT  description line stored in the graph (default: empty)\n"
    "  --format NAME       read INPUT in this format\n"
    "  --keep-self-loops   keep links from an AS to itself\n"
    "  --classic           write a classic graph file (ZNG): drop the links with\n"
    "                      an AS number above 65535 and, unless --description\n"
    "                      is given, say in the description line how many\n"
    "                      adjacencies went\n"
    "  --relationships FILE\n"
    "                      orient routing-table adjacencies by the relationship\n"
    "                      file FILE (read with the rules above)\n"
    "  --announcements     routing tables: UPDATE announcements are routes too\n"
    "  --quiet             do not print the counts\n"
    "  --help              print this help and exit\n"
    "  --version           print the version and exit\n"
    "Options with a value also take the form --name=VALUE.\n"
    "\n"
    "The counts (lines, links kept and dropped by reason, merged duplicates,\n"
    "conflicts, nodes and adjacencies by class) go to standard error, one per\n"
    "line. A bad line stops the run with FILE:LINE: and the reason, a bad MRT\n"
    "record with FILE: record N at byte OFFSET: and the reason.\n"
    "\n"
    "Exit status: 0 success, 1 command line rejected, 2 input cannot be opened,\n"
    "3 input not valid or output cannot be written.\n";
// clang-format on

constexpr int kFormatColumn = 14;

}  // namespace

void printImportHelp(FILE* stream) {
  std::fputs(kUsage, stream);
  std::size_t count = 0;
  const FormatEntry* entries = formats(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char* line = entries[i].summary;
    std::fprintf(stream, "  %-*s", kFormatColumn - 2, entries[i].name);
    for (;;) {
      const char* feed = std::strchr(line, '\n');
      const int length =
          feed != nullptr ? static_cast<int>(feed - line) : static_cast<int>(std::strlen(line));
      std::fprintf(stream, "%.*s\n", length, line);
      if (feed == nullptr) {
        break;
      }
      line = feed + 1;
      std::fprintf(stream, "%*s", kFormatColumn, "");
    }
  }
  std::fputs(kRules, stream);
}

void printImportVersion(FILE* stream) {
  std::fprintf(stream, "plandrex-import %s\n", PLANDREX_VERSION);
}
