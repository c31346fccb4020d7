#ifndef IPTOOLS_IP_ADDRESS_H_
#define IPTOOLS_IP_ADDRESS_H_

#include <cstdint>

#include "iptools/ip_netmask.h"

// An IPv4 address held as four bytes, most significant first. Offset
// arithmetic wraps modulo 2^32.
class IPAddress {
 public:
  IPAddress() = default;
  IPAddress(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3);
  IPAddress(const IPAddress& other) { copyValue(other); }
  ~IPAddress() = default;
  IPAddress& operator=(const IPAddress& other);

  bool operator==(const IPAddress& other) const { return value() == other.value(); }
  bool operator!=(const IPAddress& other) const { return value() != other.value(); }
  bool operator>(const IPAddress& other) const { return value() > other.value(); }
  bool operator<(const IPAddress& other) const { return value() < other.value(); }
  bool operator>=(const IPAddress& other) const { return value() >= other.value(); }
  bool operator<=(const IPAddress& other) const { return value() <= other.value(); }

  IPAddress operator+(const unsigned long long& offset) const;
  IPAddress& operator+=(const unsigned long long& offset);
  IPAddress operator-(const unsigned long long& offset) const;
  IPAddress& operator-=(const unsigned long long& offset);
  // Number of addresses in the closed range between the two: |a - b| + 1.
  unsigned long long operator-(const IPAddress& other) const;

  // Classful class letter: 'A' to 'E', or 'U' for 0.x and 248.x to 255.x.
  char ipClass() const;
  IPAddress mask(const IPNetmask& netmask) const;
  // The four bytes in a buffer inside this object that the next call overwrites.
  unsigned char* getAddress();
  void setAddress(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3);

 private:
  std::uint32_t value() const;
  void setValue(std::uint32_t value);
  void copyValue(const IPAddress& other);

  unsigned char addrBytes[4] = {0, 0, 0, 0};
  unsigned char addrOut[4] = {0, 0, 0, 0};
};

#endif  // IPTOOLS_IP_ADDRESS_H_
