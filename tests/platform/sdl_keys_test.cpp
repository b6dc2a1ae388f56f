// The desktop host's keys under keyboard layouts of several scripts: the
// letters the game knows work where the layout types no Latin letter, and a
// Latin layout's own letters and signs keep their meaning.
#include <gtest/gtest.h>

#include "platform/sdl/keys_sdl.h"
#include "platform/time_input.h"

namespace {

struct Row {
    const char* layout;
    SDL_Scancode place;
    SDL_Keycode typed;
    int expected;
};

TEST(SdlKeys, EveryLayoutReachesTheGamesKeys) {
    const Row rows[] = {
        {"us M", SDL_SCANCODE_M, SDLK_m, 'M'},
        {"ru M (soft sign)", SDL_SCANCODE_M, 0x044C, 'M'},
        {"el A (alpha)", SDL_SCANCODE_A, 0x03B1, 'A'},
        {"ar R (qaf)", SDL_SCANCODE_R, 0x0642, 'R'},
        {"fr A where us has Q", SDL_SCANCODE_Q, SDLK_a, 'A'},
        {"fr comma where us has M", SDL_SCANCODE_M, SDLK_COMMA, 0},
        {"de o-umlaut, no letter's place", SDL_SCANCODE_SEMICOLON, 0x00F6, 0},
        {"keypad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, platform::VK_RETURN},
    };
    for (const Row& row : rows) {
        SDL_Keysym key{};
        key.scancode = row.place;
        key.sym = row.typed;
        EXPECT_EQ(platform::sdl::virtualKeyOf(key), row.expected) << row.layout;
    }
}

}  // namespace
