// Shared pieces of the fuzz targets: a check that stops the run with a message, a scratch
// folder, and the whole-file helpers of the test library.
#pragma once

#include <iconv.h>

#include <cstdio>
#include <cstdlib>

#include "testing/files.h"
#include "testing/temp_folder.h"

namespace koyomi::fuzz {

// A property the target promises. A broken one aborts, which libFuzzer records as a finding
// together with the input.
#define KOYOMI_REQUIRE(condition)                                                        \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

// The text layer opens a code page 932 converter for every conversion. glibc unloads the
// converter's module when the last one closes and loads it again on the next, which costs
// more than the conversion; one converter held open for the whole run keeps it loaded.
inline const iconv_t kCodePageKeptLoaded = iconv_open("UTF-8", "CP932");

// The folder of the running target for its files, in memory, made on first use and removed
// when the process ends.
inline const testing::TempFolder& Scratch() {
    static const testing::TempFolder folder("koyomi-fuzz", testing::TempFolder::Place::kShared);
    return folder;
}

}  // namespace koyomi::fuzz
