#pragma once
// Windows has no per-process file size limit: the tests that simulate a full disk with one are
// left out of the Windows run (scripts/windows.sh), and setrlimit reports that it cannot.

#include <errno.h>

#define RLIMIT_FSIZE 1
#define SIGXFSZ 25   // never raised on Windows
typedef unsigned long long rlim_t;
struct rlimit {
    rlim_t rlim_cur;
    rlim_t rlim_max;
};
static inline int setrlimit(int, const struct rlimit*)
{
    errno = ENOSYS;
    return -1;
}
static inline int getrlimit(int, struct rlimit*)
{
    errno = ENOSYS;
    return -1;
}
