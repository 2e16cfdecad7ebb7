#include <gtest/gtest.h>

#include <cmath>

#include "settings/Profiles.h"
#include "settings/SettingsTestSupport.h"

namespace grottix {
namespace {

using TBytes = std::vector<uint8_t>;

TBytes Record(uint16_t type, std::initializer_list<uint8_t> value) {
    TBytes bytes(16, 0);
    bytes[0] = uint8_t(type);
    bytes[1] = uint8_t(type >> 8);
    std::copy(value.begin(), value.end(), bytes.begin() + 8);
    return bytes;
}

TEST(VariantEncoding, StringsAreTheirTypeCodeTheirBytesAndOneZero) {
    EXPECT_EQ(EncodeVariant("abc"), (TBytes{0x00, 0x01, 'a', 'b', 'c', 0x00}));
    EXPECT_EQ(EncodeVariant(""), (TBytes{0x00, 0x01, 0x00}));
    EXPECT_EQ(DecodeVariant(TBytes{0x00, 0x01, 0x00}), TVariant(""));
    EXPECT_EQ(DecodeVariant(TBytes{0x00, 0x01, 'a', 0x00, 'b', 0x00}), TVariant("a")) << "up to the first zero";
    EXPECT_EQ(DecodeVariant(TBytes{0x00, 0x01, 'a', 'b'}), TVariant("ab")) << "no terminator: up to the end";
}

TEST(VariantEncoding, ValuesSitAtByteEightOfASixteenByteRecord) {
    EXPECT_EQ(EncodeVariant(true), Record(11, {0xFF, 0xFF}));
    EXPECT_EQ(EncodeVariant(false), Record(11, {0x00, 0x00}));
    EXPECT_EQ(EncodeVariant(int32_t{640}), Record(3, {0x80, 0x02, 0, 0}));
    EXPECT_EQ(EncodeVariant(0.5), Record(5, {0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));
}

TEST(VariantEncoding, EverySupportedTypeRoundTripsThroughAProfile) {
    TMemorySettingsStore store;
    TCustomKey key(store, "Options");
    TVariantProfile profile("Value", &key);
    const std::vector<TVariant> values{int16_t{-300}, int32_t{-70000}, 1.5f, -2.25, TCurrency{-99999},
                                       TDateTime{45000.5}, true, uint8_t{255}, std::string("text"), std::string()};
    for (const TVariant& value : values) {
        profile.WriteValue(value);
        EXPECT_EQ(profile.ReadValue(), value) << int(value.Type());
    }
}

TEST(VariantEncoding, EmptyAndNullCannotBeStoredAndLeaveTheOldValue) {
    TMemorySettingsStore store;
    TCustomKey key(store, "Options");
    TVariantProfile profile("Value", &key);
    profile.WriteValue(int32_t{7});
    const auto expectRefused = [&](const TVariant& value) {
        try {
            profile.WriteValue(value);
            ADD_FAILURE() << "stored an unsupported variant";
        } catch (const ERegistryError& error) {
            EXPECT_STREQ(error.what(), "Type is not supported by the VariantProfile");
        }
    };
    expectRefused(TVariant());
    expectRefused(TVariant::Null());
    EXPECT_EQ(profile.ReadValue(), TVariant(int32_t{7}));
}

TEST(VariantEncoding, DamagedOrForeignRecordsReadAsEmpty) {
    EXPECT_TRUE(DecodeVariant(TBytes{}).IsEmpty());
    EXPECT_TRUE(DecodeVariant(TBytes{0x03}).IsEmpty());
    EXPECT_TRUE(DecodeVariant(TBytes{0x03, 0x00, 0, 0, 0, 0, 0, 0, 0x80, 0x02}).IsEmpty()) << "short record";
    EXPECT_TRUE(DecodeVariant(Record(8, {1, 2, 3})).IsEmpty()) << "a type code that is not stored";
    EXPECT_TRUE(DecodeVariant(Record(1, {})).IsEmpty());
    EXPECT_EQ(DecodeVariant(Record(11, {0x01, 0x00})), TVariant(true)) << "any non-zero word is true";
}

}  // namespace
}  // namespace grottix
