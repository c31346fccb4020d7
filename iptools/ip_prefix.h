#ifndef IPTOOLS_IP_PREFIX_H_
#define IPTOOLS_IP_PREFIX_H_

#include "graph/list.h"
#include "iptools/ip_address.h"
#include "iptools/ip_netmask.h"

// An IPv4 prefix: an address and a netmask. Its value (for equality and
// assignment) is the pair; the address list is only a result buffer, empty
// until listAddresses fills it, so default construction and copies of an
// unlisted prefix allocate nothing.
class IPPrefix {
 public:
  // 0.0.0.0/0, the whole address space.
  IPPrefix() : prefixNetmask(0) {}
  // Classful prefix: the address unchanged, the length from its class
  // (A 8, B 16, C 24, anything else 32).
  explicit IPPrefix(const IPAddress& address);
  // The address masked with the netmask.
  IPPrefix(const IPAddress& address, const IPNetmask& netmask);
  IPPrefix(const IPPrefix& other) = default;
  ~IPPrefix() = default;
  // Copies address and netmask; this prefix's address list stays as it was.
  IPPrefix& operator=(const IPPrefix& other);

  bool operator==(const IPPrefix& other) const;
  bool operator!=(const IPPrefix& other) const { return !(*this == other); }
  // Strictly longer netmask, inside the other prefix.
  bool isMoreSpecific(const IPPrefix& other) const;
  // Strictly shorter netmask, containing the other prefix.
  bool isLessSpecific(const IPPrefix& other) const;

  IPAddress address() const { return prefixAddress; }
  IPNetmask netmask() const { return prefixNetmask; }
  // 2^(32 - length): 1 for a /32, 4294967296 for a /0.
  unsigned long long addresses() const;
  // Every address from the stored address on, addresses() of them, in
  // ascending order and without wrapping past 255.255.255.255. The list
  // belongs to the prefix and stays valid until the next call.
  List<IPAddress>& listAddresses();

 private:
  // Read-only access to the result buffer for the unit tests.
  friend class IPToolsTestAccess;

  IPAddress prefixAddress;
  IPNetmask prefixNetmask;
  List<IPAddress> addressList;
};

#endif  // IPTOOLS_IP_PREFIX_H_
