// Values stored through one key come back unchanged through a fresh open:
// every type, missing values, buffers too small, and names of any case.
#include <gtest/gtest.h>

#include "tests/registry/registry_sandbox.h"

using platform::RegistryKey;
using platform::RegistryResult;
using platform::ValueInfo;
using platform::ValueType;

using RegistryValues = RegistrySandbox;

namespace {

void storeAndReadBack(ValueType type, const std::vector<std::uint8_t>& data) {
    {
        std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->set(L"value", type, data));
    }
    ValueType readType = ValueType::none;
    EXPECT_EQ(readBack(HORALIA_KEY, L"value", &readType), data);
    EXPECT_EQ(readType, type);
}

}  // namespace

TEST_F(RegistryValues, CleanTextRoundTrips) {
    storeAndReadBack(ValueType::text, utf16z(u"12"));
    storeAndReadBack(ValueType::text, utf16z(u"quote \" and backslash \\ and é, 時, 🕒"));
    storeAndReadBack(ValueType::text, utf16z(u""));
}

TEST_F(RegistryValues, TextThatIsNotACleanStringRoundTripsByteForByte) {
    storeAndReadBack(ValueType::text, {'1', 0, '2', 0});                 // no terminating null
    storeAndReadBack(ValueType::text, {'a', 0, 0, 0, 'b', 0, 0, 0});     // a null inside
    storeAndReadBack(ValueType::text, {'a', 0, '\n', 0, 0, 0});          // a line break
    storeAndReadBack(ValueType::text, {0x00, 0xD8, 0, 0});               // unpaired surrogate
    storeAndReadBack(ValueType::text, {'7', 0, 0});                      // odd byte count
    storeAndReadBack(ValueType::text, {});
}

TEST_F(RegistryValues, BinaryOfEveryLengthRoundTrips) {
    for (std::size_t size : {0u, 1u, 24u, 25u, 26u, 80u, 300u}) {
        SCOPED_TRACE(size);
        storeAndReadBack(ValueType::binary, byteRange(size));
    }
}

TEST_F(RegistryValues, DwordAndOtherTypesRoundTrip) {
    storeAndReadBack(ValueType::dword, {0x0C, 0x00, 0x00, 0x00});
    storeAndReadBack(ValueType::dword, {0xFF, 0xFE, 0xFD, 0x80});
    storeAndReadBack(ValueType::dword, {1, 2});  // not four bytes: kept as they are
    storeAndReadBack(ValueType::expandText, utf16z(u"%HOME%\\x"));
    storeAndReadBack(ValueType::none, {9, 8, 7});
    storeAndReadBack(static_cast<ValueType>(7), utf16z(u"multi"));
    storeAndReadBack(static_cast<ValueType>(0x1234), {0xAB});
}

TEST_F(RegistryValues, ASecondSetReplacesTheValue) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"score", ValueType::text, utf16z(u"12")));
    ASSERT_TRUE(key->set(L"score", ValueType::binary, bytes({1, 2, 3})));
    ValueType type;
    EXPECT_EQ(readBack(HORALIA_KEY, L"score", &type), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(type, ValueType::binary);
}

TEST_F(RegistryValues, MissingValueIsReportedMissing) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->queryInfo(L"score").has_value());
    std::uint8_t buffer[8];
    EXPECT_EQ(key->query(L"score", buffer), RegistryResult::missing);
    EXPECT_EQ(key->query(L"score", {}), RegistryResult::missing);
}

TEST_F(RegistryValues, ValuesOfOneKeyAreNotSeenInAnother) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(L"Software\\Quillmoor\\Other");
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"level", ValueType::text, utf16z(u"3")));
    std::optional<RegistryKey> horalia = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(horalia);
    EXPECT_FALSE(horalia->queryInfo(L"level").has_value());
}

TEST_F(RegistryValues, OpeningCreatesTheKeyInTheFile) {
    EXPECT_FALSE(std::filesystem::exists(file()));
    ASSERT_TRUE(RegistryKey::createOrOpen(HORALIA_KEY));
    EXPECT_NE(fileText().find("[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"), std::string::npos);
}

TEST_F(RegistryValues, BufferTooSmallCopiesNothingAndTellsTheSize) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"stat", ValueType::binary, byteRange(80)));

    std::vector<std::uint8_t> buffer(79, 0xEE);
    ValueInfo info;
    EXPECT_EQ(key->query(L"stat", buffer, &info), RegistryResult::moreData);
    EXPECT_EQ(info.size, 80u);
    EXPECT_EQ(info.type, ValueType::binary);
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(79, 0xEE));

    EXPECT_EQ(key->query(L"stat", {}, &info), RegistryResult::moreData);
    EXPECT_EQ(info.size, 80u);

    std::vector<std::uint8_t> larger(100, 0xEE);
    EXPECT_EQ(key->query(L"stat", larger, &info), RegistryResult::ok);
    EXPECT_TRUE(std::equal(larger.begin(), larger.begin() + 80, byteRange(80).begin()));
    EXPECT_EQ(larger[80], 0xEE);
}

TEST_F(RegistryValues, NamesAndKeyPathsIgnoreCase) {
    {
        std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->set(L"Score", ValueType::text, utf16z(u"5")));
        ASSERT_TRUE(key->set(L"ÉTÉ", ValueType::text, utf16z(u"x")));
    }
    std::optional<RegistryKey> other = RegistryKey::createOrOpen(L"SOFTWARE\\quillmoor\\HORALIA");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->queryInfo(L"SCORE").has_value());
    EXPECT_TRUE(other->queryInfo(L"été").has_value());
    ASSERT_TRUE(other->set(L"score", ValueType::text, utf16z(u"6")));

    EXPECT_EQ(readBack(HORALIA_KEY, L"sCoRe"), utf16z(u"6"));
    // One key and one value: the file keeps the first spelling of each.
    std::string text = fileText();
    EXPECT_EQ(text.find("[HKEY_CURRENT_USER\\SOFTWARE"), std::string::npos);
    EXPECT_NE(text.find("\"Score\"=\"6\""), std::string::npos);
    EXPECT_EQ(text.find("\"score\""), std::string::npos);
}

TEST_F(RegistryValues, DefaultValueUsesTheEmptyName) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->set(L"", ValueType::text, utf16z(u"default")));
    EXPECT_EQ(readBack(HORALIA_KEY, L""), utf16z(u"default"));
    EXPECT_NE(fileText().find("@=\"default\""), std::string::npos);
}

TEST_F(RegistryValues, NamesThatCannotBeWrittenAreRefused) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->set(L"two\nlines", ValueType::text, utf16z(u"x")));
    EXPECT_FALSE(key->set(std::wstring(1, static_cast<wchar_t>(0xD800)), ValueType::text, utf16z(u"x")));
    EXPECT_FALSE(RegistryKey::createOrOpen(L"Software\\\\Double"));
    EXPECT_FALSE(RegistryKey::createOrOpen(L"\\Leading"));
    EXPECT_FALSE(RegistryKey::createOrOpen(L"Trailing\\"));
    EXPECT_FALSE(RegistryKey::createOrOpen(L"Line\nBreak"));
    // The file is still whole and holds the key.
    EXPECT_TRUE(key->set(L"ok", ValueType::text, utf16z(u"x")));
    EXPECT_EQ(readBack(HORALIA_KEY, L"ok"), utf16z(u"x"));
}
