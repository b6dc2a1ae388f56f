// The registry file that the store writes reads as plain values in a text
// editor: decimal text for score, level and auto, 80 bytes of hex for stat.
#include <gtest/gtest.h>

#include "tests/progress/store_sandbox.h"

using ProgressFile = StoreSandbox;

TEST_F(ProgressFile, StoreWritesReadableValues) {
    ProgressStore& store = acquire();
    store.awardPoints();
    store.setLevel(4);
    store.setAutoAdjust(false);
    store.recordResult(true);   // level 4: 1 of 1
    store.recordResult(false);  // level 4: 1 of 2

    EXPECT_EQ(fileText(),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"
              "\"score\"=\"12\"\n"
              "\"level\"=\"4\"\n"
              "\"auto\"=\"1\"\n"
              "\"stat\"=hex:00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\\n"
              "  00,00,01,00,00,00,02,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\\n"
              "  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\\n"
              "  00,00,00,00,00,00,00,00\n"
              "\n");
}

TEST_F(ProgressFile, TextValuesCarryTheirTerminatingNull) {
    ProgressStore& store = acquire();
    store.setLevel(10);
    store.resetScore();
    EXPECT_EQ(stored(L"level"), (std::vector<std::uint8_t>{'1', 0, '0', 0, 0, 0}));
    EXPECT_EQ(stored(L"score"), (std::vector<std::uint8_t>{'0', 0, 0, 0}));
    EXPECT_EQ(stored(L"stat").size(), 80u);
}

TEST_F(ProgressFile, ValuesEditedByHandAreLoaded) {
    acquire();
    release();
    std::string text = fileText();
    text += "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n\"LEVEL\"=\"8\"\n\"score\"=\"345\"\n";
    { std::ofstream(folder / "registry.reg", std::ios::binary | std::ios::trunc) << text; }
    ProgressStore& store = acquire();
    EXPECT_EQ(store.level, 8);
    EXPECT_EQ(store.score, 345);
    release();
    // A registry editor's export: numbers as DWORDs, in hex.
    text += "\"Level\"=dword:00000003\n\"Score\"=dword:00000159\n";
    { std::ofstream(folder / "registry.reg", std::ios::binary | std::ios::trunc) << text; }
    EXPECT_EQ(acquire().level, 3);
    EXPECT_EQ(acquire().score, 345);
}
