#pragma once
// The variant values a TVariantProfile stores, and their binary form: an OLE Automation VARIANT
// record of 16 bytes (type code, six reserved bytes, eight value bytes), or for strings the type
// code 256 followed by the string's bytes and a zero byte.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace grottix {

// Type codes of the VARIANT record. Empty and Null exist as values but cannot be stored.
enum class TVarType : uint16_t {
    Empty = 0,
    Null = 1,
    Smallint = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    Boolean = 11,
    Byte = 17,
    String = 256,
};

// Currency: a fixed-point amount, scaled by 10000.
struct TCurrency {
    int64_t Scaled = 0;
    bool operator==(const TCurrency&) const = default;
};
// Date: days since 30 December 1899, the fraction being the time of day.
struct TDateTime {
    double Days = 0;
    bool operator==(const TDateTime&) const = default;
};
struct TNullValue {
    bool operator==(const TNullValue&) const = default;
};

class TVariant {
public:
    using TValue = std::variant<std::monostate, TNullValue, int16_t, int32_t, float, double, TCurrency,
                                TDateTime, bool, uint8_t, std::string>;

    TVariant() = default;
    TVariant(int16_t value) : value_(value) {}
    TVariant(int32_t value) : value_(value) {}
    TVariant(float value) : value_(value) {}
    TVariant(double value) : value_(value) {}
    TVariant(TCurrency value) : value_(value) {}
    TVariant(TDateTime value) : value_(value) {}
    TVariant(bool value) : value_(value) {}
    TVariant(uint8_t value) : value_(value) {}
    TVariant(std::string value) : value_(std::move(value)) {}
    TVariant(const char* value) : value_(std::string(value)) {}
    TVariant(TNullValue value) : value_(value) {}
    static TVariant Null() { return TVariant(TNullValue{}); }

    TVarType Type() const;
    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    const TValue& Value() const { return value_; }
    bool operator==(const TVariant&) const = default;

    // Conversions for readers of settings. Numbers convert among themselves (reals round to the
    // nearest integer); strings convert when they hold a number; anything else gives nothing.
    std::optional<int64_t> ToInteger() const;
    std::optional<double> ToDouble() const;
    std::optional<bool> ToBoolean() const;

private:
    TValue value_;
};

// Throws ERegistryError "Type is not supported by the VariantProfile" for Empty and Null.
std::vector<uint8_t> EncodeVariant(const TVariant& value);
// A record too short for its type, or with a type code that cannot be stored, gives the empty variant.
TVariant DecodeVariant(std::span<const uint8_t> bytes);

}  // namespace grottix
