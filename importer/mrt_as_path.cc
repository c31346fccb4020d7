#include "importer/mrt_as_path.h"

#include <algorithm>

namespace {

bool isConfederation(std::uint8_t type) {
  return type == MrtAsPath::kConfedSequence || type == MrtAsPath::kConfedSet;
}

}  // namespace

void MrtAsPath::clear() {
  types.clear();
  lengths.clear();
  ases.clear();
}

bool MrtAsPath::decode(const unsigned char* data, std::size_t size, int asBytes,
                       std::string& reason) {
  clear();
  std::size_t at = 0;
  while (at < size) {
    if (size - at < 2) {
      reason = "AS path segment header cut by the end of its attribute";
      return false;
    }
    const std::uint8_t type = data[at];
    const std::size_t count = data[at + 1];
    at += 2;
    if (count * static_cast<std::size_t>(asBytes) > size - at) {
      reason = "AS path segment of " + std::to_string(count) +
               " AS numbers runs past the end of its attribute";
      return false;
    }
    types.push_back(type);
    lengths.push_back(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i, at += static_cast<std::size_t>(asBytes)) {
      const unsigned char* p = data + at;
      ases.push_back(asBytes == 4 ? std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
                                        std::uint32_t{p[2]} << 8 | p[3]
                                  : std::uint32_t{p[0]} << 8 | p[1]);
    }
  }
  return true;
}

std::size_t MrtAsPath::pathCount() const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < types.size(); ++i) {
    if (types[i] == kSet) {
      ++count;
    } else if (!isConfederation(types[i])) {
      count += lengths[i];
    }
  }
  return count;
}

void MrtAsPath::append(std::uint8_t type, const std::uint32_t* first, std::size_t count) {
  mergedTypes.push_back(type);
  mergedLengths.push_back(static_cast<std::uint32_t>(count));
  mergedAses.insert(mergedAses.end(), first, first + count);
}

void MrtAsPath::mergeAs4Path(const MrtAsPath& as4Path) {
  std::size_t as4Count = 0;
  for (std::size_t i = 0; i < as4Path.types.size(); ++i) {
    if (as4Path.types[i] == kSet) {
      ++as4Count;
    } else if (!isConfederation(as4Path.types[i])) {
      as4Count += as4Path.lengths[i];
    }
  }
  const std::size_t count = pathCount();
  if (count < as4Count) {
    return;
  }
  mergedTypes.clear();
  mergedLengths.clear();
  mergedAses.clear();
  std::size_t wanted = count - as4Count;
  const std::uint32_t* next = ases.data();
  // Confederation segments count no AS but are kept where they stand, so
  // that a route through a confederation is skipped as its text is.
  for (std::size_t i = 0; i < types.size() && (wanted > 0 || isConfederation(types[i])); ++i) {
    std::size_t taken = lengths[i];
    if (types[i] == kSet) {
      --wanted;
    } else if (!isConfederation(types[i])) {
      taken = std::min<std::size_t>(taken, wanted);
      wanted -= taken;
    }
    append(types[i], next, taken);
    next += lengths[i];
  }
  const std::uint32_t* as4 = as4Path.ases.data();
  for (std::size_t i = 0; i < as4Path.types.size(); ++i) {
    append(as4Path.types[i], as4, as4Path.lengths[i]);
    as4 += as4Path.lengths[i];
  }
  types.swap(mergedTypes);
  lengths.swap(mergedLengths);
  ases.swap(mergedAses);
}

RouteVerdict MrtAsPath::toRoute(BgpdumpRoute& route) const {
  route.path.clear();
  route.cutAtAsSet = false;
  // bgpdump prints a path with a segment of unknown type as an error text.
  for (const std::uint8_t type : types) {
    if (type < kSet || type > kConfedSet) {
      return RouteVerdict::badAsNumber;
    }
  }
  const std::uint32_t* next = ases.data();
  for (std::size_t i = 0; i < types.size(); ++i) {
    if (types[i] == kSet) {
      route.cutAtAsSet = true;
      break;
    }
    if (isConfederation(types[i])) {
      return RouteVerdict::badAsNumber;  // printed in brackets: "(65001" is no AS number
    }
    for (std::uint32_t k = 0; k < lengths[i]; ++k, ++next) {
      if (route.path.empty() || route.path.back() != *next) {
        route.path.push_back(*next);
      }
    }
  }
  return hasPathLoop(route.path) ? RouteVerdict::pathLoop : RouteVerdict::route;
}
