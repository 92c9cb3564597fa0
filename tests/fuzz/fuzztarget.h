#pragma once
// One fuzz target: a reader of files from outside the program, fed arbitrary bytes. Built with
// libFuzzer in the soak (tests/soak/fuzz), and with replay.cpp in the normal suite, which runs
// the kept inputs of corpus/<target>/ (seeds and every input that once crashed) again.
// A target aborts when the reader breaks a rule it must keep, so that such an input is kept too.
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace tillora::fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Stops at a broken rule, naming it.
inline void require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

} // namespace tillora::fuzz
