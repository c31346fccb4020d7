#ifndef IPTOOLS_IP_NETMASK_H_
#define IPTOOLS_IP_NETMASK_H_

// An IPv4 netmask. Its 32 bits are always a run of ones followed by zeros:
// every constructor and setter corrects a bad mask to 255.255.255.255.
class IPNetmask {
 public:
  IPNetmask() = default;
  IPNetmask(const IPNetmask& other) { copyValue(other); }
  IPNetmask(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3);
  // From a prefix length; lengths below 0 or above 32 count as 32.
  explicit IPNetmask(char length);
  ~IPNetmask() = default;
  IPNetmask& operator=(const IPNetmask& other);

  bool operator==(const IPNetmask& other) const;
  bool operator!=(const IPNetmask& other) const { return !(*this == other); }
  // On contiguous masks: this mask is longer (>) or shorter (<) than the other.
  bool operator>(const IPNetmask& other) const;
  bool operator<(const IPNetmask& other) const;
  bool operator>=(const IPNetmask& other) const { return *this > other || *this == other; }
  bool operator<=(const IPNetmask& other) const { return *this < other || *this == other; }

  void setNetmask(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3);
  void setNetmask(char length);
  // The four bytes, most significant first, in a buffer inside this object
  // that the next call overwrites.
  unsigned char* getNetmask();
  // The prefix length, 0 to 32.
  char brief() const;

 private:
  void copyValue(const IPNetmask& other);

  unsigned char maskBytes[4] = {255, 255, 255, 255};
  unsigned char maskOut[4] = {0, 0, 0, 0};
};

#endif  // IPTOOLS_IP_NETMASK_H_
