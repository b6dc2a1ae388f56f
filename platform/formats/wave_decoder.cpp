// Walks the RIFF chunks of a WAVE, every length checked against what is left,
// takes the first "fmt " and "data" chunks, and widens 8-bit samples (which
// are unsigned) to signed 16-bit ones.
#include "platform/formats/wave_decoder.h"

#include <cstring>

#include "platform/formats/little_endian.h"

namespace platform::formats {
namespace {

constexpr std::uint16_t FORMAT_PCM = 1;
constexpr std::uint32_t MAX_RATE = 384000;
constexpr std::uint16_t MAX_CHANNELS = 8;
constexpr std::size_t MAX_SIZE = 64 * 1024 * 1024;

}  // namespace

std::optional<DecodedWave> decodeWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || bytes.size() > MAX_SIZE) return std::nullopt;
    if (std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;

    std::span<const std::uint8_t> format, data;
    bool haveFormat = false, haveData = false;
    std::size_t at = 12;
    while (bytes.size() - at >= 8 && !(haveFormat && haveData)) {
        const std::uint8_t* header = bytes.data() + at;
        const std::size_t length = le32(header + 4);
        at += 8;
        if (length > bytes.size() - at) return std::nullopt;  // cut short
        const std::span<const std::uint8_t> body = bytes.subspan(at, length);
        if (!haveFormat && std::memcmp(header, "fmt ", 4) == 0) {
            format = body;
            haveFormat = true;
        } else if (!haveData && std::memcmp(header, "data", 4) == 0) {
            data = body;
            haveData = true;
        }
        at += length + (length & 1);  // chunks are padded to even lengths
        if (at > bytes.size()) break;
    }
    if (!haveFormat || !haveData || format.size() < 16) return std::nullopt;

    const std::uint16_t tag = le16(format.data());
    const std::uint16_t channels = le16(format.data() + 2);
    const std::uint32_t rate = le32(format.data() + 4);
    const std::uint16_t bits = le16(format.data() + 14);
    if (tag != FORMAT_PCM || channels == 0 || channels > MAX_CHANNELS || rate == 0 || rate > MAX_RATE ||
        (bits != 8 && bits != 16))
        return std::nullopt;

    DecodedWave wave;
    wave.rate = static_cast<int>(rate);
    wave.channels = channels;
    const std::size_t frameBytes = static_cast<std::size_t>(channels) * (bits / 8);
    const std::size_t count = data.size() / frameBytes * channels;  // a partial last frame is dropped
    wave.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        wave.samples[i] = bits == 8 ? static_cast<std::int16_t>((data[i] - 128) * 256)
                                    : static_cast<std::int16_t>(le16(data.data() + 2 * i));
    return wave;
}

}  // namespace platform::formats
