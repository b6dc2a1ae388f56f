// Stand-ins for what a host and the program's resources supply to sound.cpp,
// so that the wave target links without a host. The fuzzer never plays sound.
#include <cstdint>
#include <span>

namespace platform::host {
bool playWave(std::span<const std::uint8_t>, std::uint32_t, unsigned) { return false; }
}  // namespace platform::host

namespace platform::core {
std::uint32_t waveIdOf(std::span<const std::uint8_t>) { return 0; }
}  // namespace platform::core
