// What the fuzz targets share: a private folder for the files they write (in memory where
// the machine has /dev/shm) and a stop with a message when a property does not hold.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The folder, made once per process; its name ends without "/".
inline const std::string& FuzzFolder() {
    static const std::string folder = [] {
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/quorbel-fuzz-XXXXXX"
                                                            : "/tmp/quorbel-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return folder;
}

// Stops the run with a finding: libFuzzer keeps the input that led here.
[[noreturn]] inline void FuzzFailure(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}
