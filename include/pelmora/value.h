/// @file
/// @brief Value, the evaluator's dynamically typed value.
///
/// Layout: a kind tag (the index of the variant) and its payload.
///
///     Kind      payload                 notes
///     Empty     none                    a failed evaluation, unused slots
///     Boolean   bool                    as a number True is -1, False is 0
///     Byte      uint8_t
///     Integer   int16_t
///     Long      int32_t
///     Single    float
///     Double    double
///     Date      DateValue{double}       day count from 1899-12-30, time of day as fraction
///     String    StringValue             UTF-16 code units plus an optional lone trailing byte
///     Object    ObjectValue{int32_t}    the error-information object; the number is its default
///
/// A String's byte view is its code units written low byte first (UTF-16LE), followed by the
/// lone byte when there is one, so its length in bytes may be odd. Byte functions cut the byte
/// view; concatenation joins byte views, so a lone byte pairs with the next String's first byte.
///
/// Values are plain data: a copy may go to any thread; one object may be read by several
/// threads at once but not changed while another reads it.
#pragma once

#include <pelmora/export.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pelmora {

/// The kind of a Value; the order is the variant's.
enum class Kind : std::uint8_t {
    Empty,    ///< No value.
    Boolean,  ///< True (-1) or False (0).
    Byte,     ///< Unsigned 8 bits.
    Integer,  ///< Signed 16 bits.
    Long,     ///< Signed 32 bits.
    Single,   ///< IEEE single precision.
    Double,   ///< IEEE double precision.
    Date,     ///< A day count from 1899-12-30.
    String,   ///< UTF-16 text, maybe with a lone trailing byte.
    Object,   ///< The error-information object.
};

/// The kind's name as the tools print it ("Empty", "Double", ...).
PELMORA_API std::string_view kindName(Kind kind);

/// The payload of Empty.
struct EmptyValue {
    /// All Empty payloads are equal.
    bool operator==(const EmptyValue&) const = default;
};

/// The payload of a Date.
struct DateValue {
    double days = 0;  ///< Days from 1899-12-30; the time of day is the fraction.
    /// Equal day counts.
    bool operator==(const DateValue&) const = default;
};

/// The payload of a String: UTF-16 code units and maybe one lone trailing byte.
struct PELMORA_API StringValue {
    std::u16string units;                  ///< The code units.
    std::optional<std::uint8_t> loneByte;  ///< A byte after the units, when the length is odd.
    /// The same units and the same lone byte.
    bool operator==(const StringValue&) const = default;

    /// The length of the byte view.
    std::size_t byteLength() const { return units.size() * 2 + (loneByte ? 1 : 0); }
    /// The units low byte first, then the lone byte.
    std::string byteView() const;
    /// The text whose byte view these bytes are.
    static StringValue fromBytes(std::string_view bytes);
    /// Joins the byte views of the two texts.
    static StringValue concat(const StringValue& left, const StringValue& right);
    /// Joins the byte view of `right` onto this one, in place.
    void append(const StringValue& right);
};

/// Code unit by code unit, a prefix before the longer text; a lone byte after its units.
inline bool operator<(const StringValue& a, const StringValue& b) {
    if (a.units != b.units) return a.units < b.units;
    return a.loneByte < b.loneByte;
}

/// The payload of an Object: the error-information object.
struct ObjectValue {
    std::int32_t errorNumber = 0;  ///< Its default property, the error number.
    /// Equal error numbers.
    bool operator==(const ObjectValue&) const = default;
};

/// A dynamically typed value; see the table above. Copying a Value copies its text.
class PELMORA_API Value {
  public:
    /// Empty.
    Value() = default;

    /// Empty.
    static Value empty() { return Value(); }
    /// A Boolean.
    static Value boolean(bool b) { return Value(Payload(std::in_place_index<1>, b)); }
    /// A Byte.
    static Value byte(std::uint8_t b) { return Value(Payload(std::in_place_index<2>, b)); }
    /// An Integer.
    static Value integer(std::int16_t i) { return Value(Payload(std::in_place_index<3>, i)); }
    /// A Long.
    static Value longValue(std::int32_t l) { return Value(Payload(std::in_place_index<4>, l)); }
    /// A Single.
    static Value single(float f) { return Value(Payload(std::in_place_index<5>, f)); }
    /// A Double.
    static Value number(double d) { return Value(Payload(std::in_place_index<6>, d)); }
    /// A Date: days from 1899-12-30, the time of day as the fraction.
    static Value date(double days) {
        return Value(Payload(std::in_place_index<7>, DateValue{days}));
    }
    /// A String of these code units.
    static Value string(std::u16string units) {
        return Value(Payload(std::in_place_index<8>, StringValue{std::move(units), std::nullopt}));
    }
    /// A String of a UTF-8 text (a byte that is not UTF-8 reads as U+FFFD).
    static Value string(std::string_view utf8);
    /// A String, a lone trailing byte included.
    static Value string(StringValue s) {
        return Value(Payload(std::in_place_index<8>, std::move(s)));
    }
    /// The error-information Object with that error number.
    static Value object(std::int32_t errorNumber) {
        return Value(Payload(std::in_place_index<9>, ObjectValue{errorNumber}));
    }

    /// The kind.
    Kind kind() const { return static_cast<Kind>(payload_.index()); }
    /// Whether it is of that kind.
    bool is(Kind k) const { return kind() == k; }
    /// Whether it is a String.
    bool isString() const { return is(Kind::String); }
    /// Whether it is a Byte, Integer, Long, Single or Double.
    bool isNumberKind() const;

    // Each payload accessor throws std::bad_variant_access for a value of another kind.
    /// The payload of a Boolean.
    bool asBoolean() const { return std::get<1>(payload_); }
    /// The payload of a Byte.
    std::uint8_t asByte() const { return std::get<2>(payload_); }
    /// The payload of an Integer.
    std::int16_t asInteger() const { return std::get<3>(payload_); }
    /// The payload of a Long.
    std::int32_t asLong() const { return std::get<4>(payload_); }
    /// The payload of a Single.
    float asSingle() const { return std::get<5>(payload_); }
    /// The payload of a Double.
    double asDouble() const { return std::get<6>(payload_); }
    /// Any number as a double: a Byte, Integer, Long, Single or Double, a Boolean (-1 or 0) or a
    /// Date (its day count). Throws EvalFailure, whose message names the kind, for Empty (a
    /// failed evaluation), a String (a text is not read here; ToNumber reads one) and the
    /// Object.
    double toDouble() const;
    /// The day count of a Date.
    double asDate() const { return std::get<7>(payload_).days; }
    /// The text of a String.
    const StringValue& asString() const { return std::get<8>(payload_); }
    /// The text of a String, to change in place.
    StringValue& mutableString() { return std::get<8>(payload_); }

    /// Makes this the Double d; cheap when it is a Double already.
    void setDouble(double d) {
        if (auto* p = std::get_if<6>(&payload_))
            *p = d;
        else
            payload_.emplace<6>(d);
    }
    /// The error number of an Object; throws std::bad_variant_access for other kinds.
    std::int32_t asObject() const { return std::get<9>(payload_).errorNumber; }

    /// The same kind and the same payload.
    bool operator==(const Value&) const = default;

  private:
    using Payload = std::variant<EmptyValue, bool, std::uint8_t, std::int16_t, std::int32_t, float,
                                 double, DateValue, StringValue, ObjectValue>;
    explicit Value(Payload p) : payload_(std::move(p)) {}
    Payload payload_;
};

}  // namespace pelmora
