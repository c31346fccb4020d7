#include "fileio/out_of_memory.h"

#include <new>

int runWithinMemory(const std::function<int()>& work, FILE* err, int status,
                    void (*header)(FILE*)) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    // Nothing here may allocate: err is written through stdio's own unbuffered path.
    if (header != nullptr) {
      header(err);
    }
    std::fputs("Out of memory\n", err);
    return status;
  }
}
