// The libFuzzer entry of one fuzz target; FUZZ_ENTRY names the function of
// fuzz_entries.h that it drives. A broken promise aborts, so libFuzzer keeps
// the input as a crash reproducer.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* problem = horalia::fuzz::FUZZ_ENTRY(std::span<const std::uint8_t>(data, size))) {
        std::fprintf(stderr, "horalia fuzz: %s\n", problem);
        std::abort();
    }
    return 0;
}
