#include "fileio/failure_errno.h"

#include <cerrno>

int failureErrno() { return errno != 0 ? errno : EIO; }
