#include "iptools/ip_netmask.h"

IPNetmask::IPNetmask(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3) {
  setNetmask(b0, b1, b2, b3);
}

IPNetmask::IPNetmask(char length) { setNetmask(length); }

IPNetmask& IPNetmask::operator=(const IPNetmask& other) {
  copyValue(other);
  return *this;
}

void IPNetmask::copyValue(const IPNetmask& other) {
  for (int i = 0; i < 4; ++i) {
    maskBytes[i] = other.maskBytes[i];
  }
}

bool IPNetmask::operator==(const IPNetmask& other) const {
  for (int i = 0; i < 4; ++i) {
    if (maskBytes[i] != other.maskBytes[i]) {
      return false;
    }
  }
  return true;
}

bool IPNetmask::operator>(const IPNetmask& other) const {
  for (int i = 0; i < 4; ++i) {
    if (maskBytes[i] > other.maskBytes[i]) {
      return true;
    }
  }
  return false;
}

bool IPNetmask::operator<(const IPNetmask& other) const {
  for (int i = 0; i < 4; ++i) {
    if (maskBytes[i] < other.maskBytes[i]) {
      return true;
    }
  }
  return false;
}

void IPNetmask::setNetmask(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3) {
  maskBytes[0] = b0;
  maskBytes[1] = b1;
  maskBytes[2] = b2;
  maskBytes[3] = b3;
  bool partialSeen = false;
  for (int i = 0; i < 4; ++i) {
    unsigned char b = maskBytes[i];
    bool valid;
    if (partialSeen) {
      valid = b == 0;
    } else if (b == 255 || b == 0) {
      valid = true;
    } else {
      // Ones followed by zeros: the two's-complement negation is a power of two.
      unsigned negated = (256u - b) & 0xFFu;
      valid = (negated & (negated - 1)) == 0;
    }
    if (!valid) {
      for (unsigned char& byte : maskBytes) {
        byte = 255;
      }
      return;
    }
    if (b != 255) {
      partialSeen = true;
    }
  }
}

void IPNetmask::setNetmask(char length) {
  // The length is a signed 8-bit value whatever the signedness of plain char.
  const int signedLength = static_cast<signed char>(length);
  int remaining = (signedLength < 0 || signedLength > 32) ? 32 : signedLength;
  for (unsigned char& byte : maskBytes) {
    if (remaining >= 8) {
      byte = 255;
      remaining -= 8;
    } else {
      byte = static_cast<unsigned char>(~((1u << (8 - remaining)) - 1));
      remaining = 0;
    }
  }
}

unsigned char* IPNetmask::getNetmask() {
  for (int i = 0; i < 4; ++i) {
    maskOut[i] = maskBytes[i];
  }
  return maskOut;
}

char IPNetmask::brief() const {
  char length = 0;
  for (unsigned char byte : maskBytes) {
    for (int bit = 7; bit >= 0; --bit) {
      if ((byte & (1u << bit)) == 0) {
        return length;
      }
      ++length;
    }
  }
  return length;
}
