#pragma once
// Windows: the few POSIX calls the shared sources make that the MinGW-w64 C library names
// differently or lacks. Included before every source of the Windows build.

#ifndef _POSIX_THREAD_SAFE_FUNCTIONS
#define _POSIX_THREAD_SAFE_FUNCTIONS 200112L   // localtime_r
#endif

#ifdef __cplusplus
#include <cstdio>
#else
#include <stdio.h>
#endif
#include <sys/types.h>

#define getc_unlocked _getc_nolock

// Windows files carry no POSIX permission bits beyond read-only; a new file is writable already.
static inline int fchmod(int, mode_t) { return 0; }

#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

// A fresh directory of the template's name with its six trailing X replaced.
static inline char* mkdtemp(char* name)
{
    const size_t length = strlen(name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (size_t i = length - 6; i < length; ++i) name[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[rand() % 36];
        if (_mkdir(name) == 0) return name;
        if (errno != EEXIST) return NULL;
    }
    return NULL;
}
