// The evaluator's dynamically typed value.
//
// Layout: a kind tag (the index of the variant) and its payload.
//
//   Kind      payload                 notes
//   Empty     none                    a failed evaluation, unused slots
//   Boolean   bool                    as a number True is -1, False is 0
//   Byte      uint8_t
//   Integer   int16_t
//   Long      int32_t
//   Single    float
//   Double    double
//   Date      DateValue{double}       day count from 1899-12-30, time of day as fraction
//   String    StringValue             UTF-16 code units plus an optional lone trailing byte
//   Object    ObjectValue{int32_t}    the error-information object; the number is its default
//
// A String's byte view is its code units written low byte first (UTF-16LE), followed by the
// lone byte when there is one, so its length in bytes may be odd. Byte functions cut the byte
// view; concatenation joins byte views, so a lone byte pairs with the next String's first byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pelmora {

enum class Kind : std::uint8_t {
    Empty,
    Boolean,
    Byte,
    Integer,
    Long,
    Single,
    Double,
    Date,
    String,
    Object,
};

// The kind's name as the tools print it ("Empty", "Double", ...).
std::string_view kindName(Kind kind);

struct EmptyValue {
    bool operator==(const EmptyValue&) const = default;
};

struct DateValue {
    double days = 0;
    bool operator==(const DateValue&) const = default;
};

struct StringValue {
    std::u16string units;
    std::optional<std::uint8_t> loneByte;
    bool operator==(const StringValue&) const = default;

    std::size_t byteLength() const { return units.size() * 2 + (loneByte ? 1 : 0); }
    std::string byteView() const;
    static StringValue fromBytes(std::string_view bytes);
    // Joins the byte views of the two texts.
    static StringValue concat(const StringValue& left, const StringValue& right);
    // Joins the byte view of `right` onto this one, in place.
    void append(const StringValue& right);
};

// Code unit by code unit, a prefix before the longer text; a lone byte after its units.
inline bool operator<(const StringValue& a, const StringValue& b) {
    if (a.units != b.units) return a.units < b.units;
    return a.loneByte < b.loneByte;
}

struct ObjectValue {
    std::int32_t errorNumber = 0;
    bool operator==(const ObjectValue&) const = default;
};

class Value {
  public:
    Value() = default;

    static Value empty() { return Value(); }
    static Value boolean(bool b) { return Value(Payload(std::in_place_index<1>, b)); }
    static Value byte(std::uint8_t b) { return Value(Payload(std::in_place_index<2>, b)); }
    static Value integer(std::int16_t i) { return Value(Payload(std::in_place_index<3>, i)); }
    static Value longValue(std::int32_t l) { return Value(Payload(std::in_place_index<4>, l)); }
    static Value single(float f) { return Value(Payload(std::in_place_index<5>, f)); }
    static Value number(double d) { return Value(Payload(std::in_place_index<6>, d)); }
    static Value date(double days) {
        return Value(Payload(std::in_place_index<7>, DateValue{days}));
    }
    static Value string(std::u16string units) {
        return Value(Payload(std::in_place_index<8>, StringValue{std::move(units), std::nullopt}));
    }
    static Value string(StringValue s) {
        return Value(Payload(std::in_place_index<8>, std::move(s)));
    }
    static Value object(std::int32_t errorNumber) {
        return Value(Payload(std::in_place_index<9>, ObjectValue{errorNumber}));
    }

    Kind kind() const { return static_cast<Kind>(payload_.index()); }
    bool is(Kind k) const { return kind() == k; }
    bool isString() const { return is(Kind::String); }
    // Byte, Integer, Long, Single, Double.
    bool isNumberKind() const;

    bool asBoolean() const { return std::get<1>(payload_); }
    std::uint8_t asByte() const { return std::get<2>(payload_); }
    std::int16_t asInteger() const { return std::get<3>(payload_); }
    std::int32_t asLong() const { return std::get<4>(payload_); }
    float asSingle() const { return std::get<5>(payload_); }
    double asDouble() const { return std::get<6>(payload_); }
    double asDate() const { return std::get<7>(payload_).days; }
    const StringValue& asString() const { return std::get<8>(payload_); }
    StringValue& mutableString() { return std::get<8>(payload_); }
    // Makes this the Double d; cheap when it is a Double already.
    void setDouble(double d) {
        if (auto* p = std::get_if<6>(&payload_))
            *p = d;
        else
            payload_.emplace<6>(d);
    }
    std::int32_t asObject() const { return std::get<9>(payload_).errorNumber; }

    bool operator==(const Value&) const = default;

  private:
    using Payload = std::variant<EmptyValue, bool, std::uint8_t, std::int16_t, std::int32_t, float,
                                 double, DateValue, StringValue, ObjectValue>;
    explicit Value(Payload p) : payload_(std::move(p)) {}
    Payload payload_;
};

}  // namespace pelmora
