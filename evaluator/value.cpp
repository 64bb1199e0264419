#include <pelmora/value.h>

#include <pelmora/conversions.h>
#include <pelmora/failure.h>

#include <array>
#include <string>

namespace pelmora {

namespace {
constexpr std::array<std::string_view, 10> kKindNames = {
    "Empty", "Boolean", "Byte", "Integer", "Long", "Single", "Double", "Date", "String", "Object",
};
}  // namespace

std::string_view kindName(Kind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

bool Value::isNumberKind() const {
    switch (kind()) {
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
        case Kind::Single:
        case Kind::Double:
            return true;
        default:
            return false;
    }
}

Value Value::string(std::string_view utf8) {
    return string(fromUtf8(utf8));
}

double Value::toDouble() const {
    switch (kind()) {
        case Kind::Boolean:
            return asBoolean() ? -1.0 : 0.0;
        case Kind::Byte:
            return asByte();
        case Kind::Integer:
            return asInteger();
        case Kind::Long:
            return asLong();
        case Kind::Single:
            return asSingle();
        case Kind::Double:
            return asDouble();
        case Kind::Date:
            return asDate();
        default:
            throw EvalFailure("a value of kind " + std::string(kindName(kind())) +
                              " is not a number");
    }
}

std::string StringValue::byteView() const {
    std::string bytes(byteLength(), '\0');
    char* out = bytes.data();
    for (char16_t u : units) {
        *out++ = static_cast<char>(u & 0xFF);
        *out++ = static_cast<char>(u >> 8);
    }
    if (loneByte) *out = static_cast<char>(*loneByte);
    return bytes;
}

StringValue StringValue::fromBytes(std::string_view bytes) {
    if (bytes.size() > kMaxStringBytes) throw EvalFailure("text too long");
    StringValue s;
    s.units.resize(bytes.size() / 2);
    for (std::size_t k = 0; k < s.units.size(); ++k) {
        auto lo = static_cast<unsigned char>(bytes[2 * k]);
        auto hi = static_cast<unsigned char>(bytes[2 * k + 1]);
        s.units[k] = static_cast<char16_t>(lo | (hi << 8));
    }
    if (bytes.size() % 2) s.loneByte = static_cast<std::uint8_t>(bytes.back());
    return s;
}

StringValue StringValue::concat(const StringValue& left, const StringValue& right) {
    StringValue s = left;
    s.append(right);
    return s;
}

void StringValue::append(const StringValue& right) {
    if (byteLength() + right.byteLength() > kMaxStringBytes) throw EvalFailure("text too long");
    if (!loneByte) {
        units += right.units;
        loneByte = right.loneByte;
        return;
    }
    // The lone byte shifts every byte of the right text by one place.
    unsigned carry = *loneByte;
    units.reserve(units.size() + right.units.size() + 1);
    for (char16_t u : right.units) {
        units.push_back(static_cast<char16_t>(carry | ((u & 0xFFu) << 8)));
        carry = u >> 8;
    }
    if (right.loneByte) {
        units.push_back(static_cast<char16_t>(carry | (unsigned{*right.loneByte} << 8)));
        loneByte.reset();
    } else {
        loneByte = static_cast<std::uint8_t>(carry);
    }
}

}  // namespace pelmora
