// Feeds arbitrary bytes to plandrex-import's decoding of its inputs (plain,
// gzip or bzip2, told from the first bytes; concatenated streams). Read in
// large pieces and in small ones, the input must decode to the same bytes
// and end the same way, with a reason when it fails.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "import_fuzz_checks.h"
#include "importer/decoded_input.h"

namespace {

struct Decoded {
  bool ok = false;
  std::string bytes;
  std::string reason;
};

Decoded decode(const std::string& name, std::size_t capacity) {
  Decoded result;
  DecodedInput input;
  if (!input.open(name.c_str())) {
    import_fuzz::fault("input not opened");
  }
  std::string buffer(capacity, '\0');
  for (;;) {
    std::size_t count = 0;
    if (!input.read(&buffer[0], capacity, count)) {
      if (count != 0 || input.reason().empty()) {
        import_fuzz::fault("a failed read without its reason, or with bytes");
      }
      result.reason = input.reason();
      return result;
    }
    if (count == 0) {
      result.ok = true;
      return result;
    }
    if (count > capacity) {
      import_fuzz::fault("more bytes than asked for");
    }
    result.bytes.append(buffer, 0, count);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = import_fuzz::inputFile(data, size);
  const Decoded large = decode(name, std::size_t{1} << 16);
  const Decoded small = decode(name, 1 + size % 61);
  if (large.ok != small.ok || large.reason != small.reason || large.bytes != small.bytes) {
    import_fuzz::fault("the pieces read change what is decoded", large.reason + " / " + small.reason);
  }
  return 0;
}
