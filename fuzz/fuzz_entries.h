// The fuzzed readers' entry functions: each takes bytes from outside, runs
// them through one reader and checks what it can about the result. Shared by
// the libFuzzer targets and by the regression test that replays the corpora.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace horalia::fuzz {

// Each returns nullptr when the input was handled soundly (accepted or
// refused), or a short description of the broken promise otherwise. Memory
// errors are left to the sanitizers.
const char* registryText(std::span<const std::uint8_t> bytes);
const char* resourceFile(std::span<const std::uint8_t> bytes);
const char* bitmap(std::span<const std::uint8_t> bytes);
const char* wave(std::span<const std::uint8_t> bytes);

struct Entry {
    std::string_view name;  // also the corpus folder: fuzz/corpus/<name>/
    const char* (*run)(std::span<const std::uint8_t>);
};

inline constexpr Entry ENTRIES[] = {
    {"registry_text", registryText},
    {"resource_file", resourceFile},
    {"bitmap", bitmap},
    {"wave", wave},
};

}  // namespace horalia::fuzz
