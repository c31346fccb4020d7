#include "iptools/ip_address.h"

IPAddress::IPAddress(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3) {
  setAddress(b0, b1, b2, b3);
}

IPAddress& IPAddress::operator=(const IPAddress& other) {
  copyValue(other);
  return *this;
}

void IPAddress::copyValue(const IPAddress& other) {
  for (int i = 0; i < 4; ++i) {
    addrBytes[i] = other.addrBytes[i];
  }
}

std::uint32_t IPAddress::value() const {
  return (std::uint32_t{addrBytes[0]} << 24) | (std::uint32_t{addrBytes[1]} << 16) |
         (std::uint32_t{addrBytes[2]} << 8) | std::uint32_t{addrBytes[3]};
}

void IPAddress::setValue(std::uint32_t v) {
  addrBytes[0] = static_cast<unsigned char>(v >> 24);
  addrBytes[1] = static_cast<unsigned char>(v >> 16);
  addrBytes[2] = static_cast<unsigned char>(v >> 8);
  addrBytes[3] = static_cast<unsigned char>(v);
}

IPAddress IPAddress::operator+(const unsigned long long& offset) const {
  IPAddress result(*this);
  result += offset;
  return result;
}

IPAddress& IPAddress::operator+=(const unsigned long long& offset) {
  setValue(static_cast<std::uint32_t>(value() + offset));
  return *this;
}

IPAddress IPAddress::operator-(const unsigned long long& offset) const {
  IPAddress result(*this);
  result -= offset;
  return result;
}

IPAddress& IPAddress::operator-=(const unsigned long long& offset) {
  setValue(static_cast<std::uint32_t>(value() - offset));
  return *this;
}

unsigned long long IPAddress::operator-(const IPAddress& other) const {
  unsigned long long a = value();
  unsigned long long b = other.value();
  return (a > b ? a - b : b - a) + 1;
}

char IPAddress::ipClass() const {
  unsigned char b = addrBytes[0];
  if (b == 0) {
    return 'U';
  }
  if (b <= 127) {
    return 'A';
  }
  if (b <= 191) {
    return 'B';
  }
  if (b <= 223) {
    return 'C';
  }
  if (b <= 239) {
    return 'D';
  }
  if (b <= 247) {
    return 'E';
  }
  return 'U';
}

IPAddress IPAddress::mask(const IPNetmask& netmask) const {
  IPNetmask copy(netmask);
  const unsigned char* m = copy.getNetmask();
  return IPAddress(static_cast<unsigned char>(addrBytes[0] & m[0]),
                   static_cast<unsigned char>(addrBytes[1] & m[1]),
                   static_cast<unsigned char>(addrBytes[2] & m[2]),
                   static_cast<unsigned char>(addrBytes[3] & m[3]));
}

unsigned char* IPAddress::getAddress() {
  for (int i = 0; i < 4; ++i) {
    addrOut[i] = addrBytes[i];
  }
  return addrOut;
}

void IPAddress::setAddress(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3) {
  addrBytes[0] = b0;
  addrBytes[1] = b1;
  addrBytes[2] = b2;
  addrBytes[3] = b3;
}
