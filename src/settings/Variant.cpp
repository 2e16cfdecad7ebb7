#include "settings/Variant.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "settings/RegistryError.h"

namespace grottix {

namespace {

constexpr size_t RecordSize = 16;
constexpr size_t ValueOffset = 8;

template <class... F>
struct TOverloaded : F... {
    using F::operator()...;
};
template <class... F>
TOverloaded(F...) -> TOverloaded<F...>;  // compilers without aggregate deduction need the guide

template <class T>
void PutLittleEndian(std::vector<uint8_t>& out, size_t offset, T value) {
    using TBits = std::conditional_t<sizeof(T) == 8, uint64_t,
                                     std::conditional_t<sizeof(T) == 4, uint32_t,
                                                        std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;
    const auto bits = std::bit_cast<TBits>(value);
    for (size_t i = 0; i < sizeof(T); ++i) out[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

template <class T>
T GetLittleEndian(std::span<const uint8_t> in, size_t offset) {
    using TBits = std::conditional_t<sizeof(T) == 8, uint64_t,
                                     std::conditional_t<sizeof(T) == 4, uint32_t,
                                                        std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;
    TBits bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<TBits>(TBits{in[offset + i]} << (8 * i));
    return std::bit_cast<T>(bits);
}

std::vector<uint8_t> EncodeString(const std::string& text) {
    std::vector<uint8_t> out(2 + text.size() + 1, 0);
    PutLittleEndian(out, 0, static_cast<uint16_t>(TVarType::String));
    std::memcpy(out.data() + 2, text.data(), text.size());
    return out;
}

TVariant DecodeString(std::span<const uint8_t> bytes) {
    const auto text = bytes.subspan(2);
    const auto* end = static_cast<const uint8_t*>(std::memchr(text.data(), 0, text.size()));
    const size_t length = end ? static_cast<size_t>(end - text.data()) : text.size();
    return TVariant(std::string(reinterpret_cast<const char*>(text.data()), length));
}

std::optional<double> ParseNumber(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

TVarType TVariant::Type() const {
    return std::visit(TOverloaded{
                          [](std::monostate) { return TVarType::Empty; },
                          [](TNullValue) { return TVarType::Null; },
                          [](int16_t) { return TVarType::Smallint; },
                          [](int32_t) { return TVarType::Integer; },
                          [](float) { return TVarType::Single; },
                          [](double) { return TVarType::Double; },
                          [](TCurrency) { return TVarType::Currency; },
                          [](TDateTime) { return TVarType::Date; },
                          [](bool) { return TVarType::Boolean; },
                          [](uint8_t) { return TVarType::Byte; },
                          [](const std::string&) { return TVarType::String; },
                      },
                      value_);
}

std::optional<double> TVariant::ToDouble() const {
    return std::visit(TOverloaded{
                          [](std::monostate) -> std::optional<double> { return std::nullopt; },
                          [](TNullValue) -> std::optional<double> { return std::nullopt; },
                          [](TCurrency value) -> std::optional<double> { return value.Scaled / 10000.0; },
                          [](TDateTime value) -> std::optional<double> { return value.Days; },
                          [](bool value) -> std::optional<double> { return value ? 1.0 : 0.0; },
                          [](const std::string& value) { return ParseNumber(value); },
                          [](auto number) -> std::optional<double> { return static_cast<double>(number); },
                      },
                      value_);
}

std::optional<int64_t> TVariant::ToInteger() const {
    const std::optional<double> number = ToDouble();
    // Beyond ±2^62 a double no longer names one integer; such values are not integers of a setting.
    if (!number || !std::isfinite(*number) || std::fabs(*number) > 4.6e18) return std::nullopt;
    return static_cast<int64_t>(std::llround(*number));
}

std::optional<bool> TVariant::ToBoolean() const {
    if (const bool* flag = std::get_if<bool>(&value_)) return *flag;
    const std::optional<double> number = ToDouble();
    if (!number || std::isnan(*number)) return std::nullopt;
    return *number != 0;
}

std::vector<uint8_t> EncodeVariant(const TVariant& value) {
    if (const auto* text = std::get_if<std::string>(&value.Value())) return EncodeString(*text);
    std::vector<uint8_t> out(RecordSize, 0);
    PutLittleEndian(out, 0, static_cast<uint16_t>(value.Type()));
    std::visit(TOverloaded{
                   [](std::monostate) { throw ERegistryError("Type is not supported by the VariantProfile"); },
                   [](TNullValue) { throw ERegistryError("Type is not supported by the VariantProfile"); },
                   [](const std::string&) {},
                   [&](TCurrency amount) { PutLittleEndian(out, ValueOffset, amount.Scaled); },
                   [&](TDateTime date) { PutLittleEndian(out, ValueOffset, date.Days); },
                   [&](bool flag) { PutLittleEndian(out, ValueOffset, static_cast<uint16_t>(flag ? 0xFFFF : 0)); },
                   [&](auto number) { PutLittleEndian(out, ValueOffset, number); },
               },
               value.Value());
    return out;
}

TVariant DecodeVariant(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2) return {};
    const auto type = static_cast<TVarType>(GetLittleEndian<uint16_t>(bytes, 0));
    if (type == TVarType::String) return DecodeString(bytes);
    if (bytes.size() < RecordSize) return {};
    switch (type) {
        case TVarType::Smallint: return GetLittleEndian<int16_t>(bytes, ValueOffset);
        case TVarType::Integer: return GetLittleEndian<int32_t>(bytes, ValueOffset);
        case TVarType::Single: return GetLittleEndian<float>(bytes, ValueOffset);
        case TVarType::Double: return GetLittleEndian<double>(bytes, ValueOffset);
        case TVarType::Currency: return TCurrency{GetLittleEndian<int64_t>(bytes, ValueOffset)};
        case TVarType::Date: return TDateTime{GetLittleEndian<double>(bytes, ValueOffset)};
        case TVarType::Boolean: return GetLittleEndian<uint16_t>(bytes, ValueOffset) != 0;
        case TVarType::Byte: return GetLittleEndian<uint8_t>(bytes, ValueOffset);
        default: return {};
    }
}

}  // namespace grottix
