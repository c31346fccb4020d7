#ifndef FILEIO_FAILURE_ERRNO_H_
#define FILEIO_FAILURE_ERRNO_H_

// The errno to report for a call that just failed. A stream may fail without
// setting errno (a write error found by ferror after errno was cleared), and
// strerror(0) would then call the failure a success: EIO stands in for it.
int failureErrno();

#endif  // FILEIO_FAILURE_ERRNO_H_
