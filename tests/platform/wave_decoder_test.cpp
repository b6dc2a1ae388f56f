// The core's WAVE reader: unsigned 8-bit and signed 16-bit PCM into signed
// 16-bit samples, unknown chunks (odd ones padded) skipped, and anything cut
// short or not PCM refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/formats/wave_decoder.h"

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t n) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
}

void chunk(std::vector<std::uint8_t>& out, const std::string& id, const std::vector<std::uint8_t>& body) {
    out.insert(out.end(), id.begin(), id.end());
    put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

// A WAVE with a three-byte chunk before "fmt ", then the samples' bytes.
std::vector<std::uint8_t> wave(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits,
                               const std::vector<std::uint8_t>& samples) {
    std::vector<std::uint8_t> format{static_cast<std::uint8_t>(tag), 0, static_cast<std::uint8_t>(channels), 0};
    put32(format, 11025);
    put32(format, 11025u * channels * bits / 8);
    format.insert(format.end(), {static_cast<std::uint8_t>(channels * bits / 8), 0, static_cast<std::uint8_t>(bits), 0});
    std::vector<std::uint8_t> body{'W', 'A', 'V', 'E'};
    chunk(body, "LIST", {1, 2, 3});
    chunk(body, "fmt ", format);
    chunk(body, "data", samples);
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F'};
    put32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace

TEST(WaveDecoder, ReadsEightAndSixteenBitPcmAndRefusesTheRest) {
    auto eight = platform::formats::decodeWave(wave(1, 1, 8, {0, 128, 255}));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->rate, 11025);
    EXPECT_EQ(eight->channels, 1);
    EXPECT_EQ(eight->samples, (std::vector<std::int16_t>{-32768, 0, 32512}));

    // Stereo, 16 bits; the odd last byte is no whole frame and is dropped.
    auto sixteen = platform::formats::decodeWave(wave(1, 2, 16, {0x01, 0x80, 0xff, 0x7f, 0x34, 0x12, 0, 0, 9}));
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen->channels, 2);
    EXPECT_EQ(sixteen->samples, (std::vector<std::int16_t>{-32767, 32767, 0x1234, 0}));

    EXPECT_FALSE(platform::formats::decodeWave(wave(2, 1, 16, {0, 0})));  // compressed (ADPCM)
    EXPECT_FALSE(platform::formats::decodeWave(wave(1, 1, 24, {0, 0, 0})));
    std::vector<std::uint8_t> cut = wave(1, 1, 8, {1, 2, 3, 4});
    cut.resize(cut.size() - 2);
    EXPECT_FALSE(platform::formats::decodeWave(cut));
}
