// Counts the files the process opens. The executable defines the C library's
// open functions itself, so every call, from the game or from SDL and its
// image, mixer and font libraries, passes through here before reaching the
// real function. <fcntl.h> is left out on purpose: its declarations of open()
// would clash with these definitions.
#include <dlfcn.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "BenchSupport.h"

namespace {
std::atomic<long> opens{0};

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// open() takes a mode only when it may create the file; passing it always is harmless.
unsigned modeArgument(va_list arguments) { return va_arg(arguments, unsigned); }
}  // namespace

long fileOpenCount() { return opens.load(); }

extern "C" {

int open(const char* path, int flags, ...) {
    using Open = int (*)(const char*, int, ...);
    static const Open real = next<Open>("open");
    va_list arguments;
    va_start(arguments, flags);
    const unsigned mode = modeArgument(arguments);
    va_end(arguments);
    ++opens;
    return real(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    using Open = int (*)(const char*, int, ...);
    static const Open real = next<Open>("open64");
    va_list arguments;
    va_start(arguments, flags);
    const unsigned mode = modeArgument(arguments);
    va_end(arguments);
    ++opens;
    return real(path, flags, mode);
}

int openat(int directory, const char* path, int flags, ...) {
    using OpenAt = int (*)(int, const char*, int, ...);
    static const OpenAt real = next<OpenAt>("openat");
    va_list arguments;
    va_start(arguments, flags);
    const unsigned mode = modeArgument(arguments);
    va_end(arguments);
    ++opens;
    return real(directory, path, flags, mode);
}

int openat64(int directory, const char* path, int flags, ...) {
    using OpenAt = int (*)(int, const char*, int, ...);
    static const OpenAt real = next<OpenAt>("openat64");
    va_list arguments;
    va_start(arguments, flags);
    const unsigned mode = modeArgument(arguments);
    va_end(arguments);
    ++opens;
    return real(directory, path, flags, mode);
}

FILE* fopen(const char* path, const char* mode) {
    using FOpen = FILE* (*)(const char*, const char*);
    static const FOpen real = next<FOpen>("fopen");
    ++opens;
    return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
    using FOpen = FILE* (*)(const char*, const char*);
    static const FOpen real = next<FOpen>("fopen64");
    ++opens;
    return real(path, mode);
}

}  // extern "C"
