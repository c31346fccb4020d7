// Feeds arbitrary bytes to plandrex-import's decoding of its inputs (plain,
// gzip or bzip2, told from the first bytes; concatenated streams). Read in
// large pieces and in small ones, the input must decode to the same bytes
// and end the same way, with a reason when it fails. Only the bytes before a
// failure may differ in length: libbz2 drops what it wrote in the call that
// found the damage, so they agree as far as the shorter goes. Reading stops
// after kLimit bytes, which a small compressed input can far exceed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "import_fuzz_checks.h"
#include "importer/decoded_input.h"

namespace {

constexpr std::size_t kLimit = std::size_t{1} << 18;

struct Decoded {
  bool ok = false;
  bool cut = false;  // stopped at kLimit
  std::string bytes;
  std::string reason;
};

bool agreeAsFarAsTheShorter(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  return a.compare(0, common, b, 0, common) == 0;
}

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
    if (result.bytes.size() >= kLimit) {
      result.cut = true;
      return result;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = import_fuzz::inputFile(data, size);
  const Decoded large = decode(name, std::size_t{1} << 16);
  const Decoded small = decode(name, 1 + size % 61);
  if (!agreeAsFarAsTheShorter(large.bytes, small.bytes)) {
    import_fuzz::fault("the pieces read change the bytes decoded");
  }
  if (large.cut || small.cut) {
    return 0;
  }
  if (large.ok != small.ok || large.reason != small.reason ||
      (large.ok && large.bytes != small.bytes)) {
    import_fuzz::fault("the pieces read change how decoding ends", large.reason + " / " + small.reason);
  }
  return 0;
}
