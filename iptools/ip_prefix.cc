#include "iptools/ip_prefix.h"

namespace {

char classfulLength(char ipClass) {
  switch (ipClass) {
    case 'A':
      return 8;
    case 'B':
      return 16;
    case 'C':
      return 24;
    default:
      return 32;
  }
}

}  // namespace

IPPrefix::IPPrefix(const IPAddress& address)
    : prefixAddress(address), prefixNetmask(classfulLength(address.ipClass())) {}

IPPrefix::IPPrefix(const IPAddress& address, const IPNetmask& netmask)
    : prefixAddress(address.mask(netmask)), prefixNetmask(netmask) {}

IPPrefix& IPPrefix::operator=(const IPPrefix& other) {
  prefixAddress = other.prefixAddress;
  prefixNetmask = other.prefixNetmask;
  return *this;
}

bool IPPrefix::operator==(const IPPrefix& other) const {
  return prefixAddress == other.prefixAddress && prefixNetmask == other.prefixNetmask;
}

bool IPPrefix::isMoreSpecific(const IPPrefix& other) const {
  return prefixNetmask > other.prefixNetmask &&
         prefixAddress.mask(other.prefixNetmask) == other.prefixAddress;
}

bool IPPrefix::isLessSpecific(const IPPrefix& other) const {
  return prefixNetmask < other.prefixNetmask &&
         other.prefixAddress.mask(prefixNetmask) == prefixAddress;
}

unsigned long long IPPrefix::addresses() const { return 1ULL << (32 - prefixNetmask.brief()); }

List<IPAddress>& IPPrefix::listAddresses() {
  addressList = List<IPAddress>();
  const IPAddress last = prefixAddress + (addresses() - 1);
  const IPAddress top(255, 255, 255, 255);
  IPAddress current = prefixAddress;
  while (current <= last) {
    addressList.enqueue(current);
    if (current == top) {
      break;
    }
    current += 1;
  }
  return addressList;
}
