#include "evaluator/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <stdexcept>

namespace pelmora::cp932 {

namespace {

struct ExtraByte {
    std::uint8_t byte;
    char16_t unit;
};

// The single bytes that glibc's table leaves out.
constexpr std::array<ExtraByte, 5> kExtraBytes = {{
    {0x80, u'\u0080'},
    {0xA0, u'\uF8F0'},
    {0xFD, u'\uF8F1'},
    {0xFE, u'\uF8F2'},
    {0xFF, u'\uF8F3'},
}};

// One conversion descriptor, opened for one conversion and closed with it.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(cd_); }

    // Converts all of `in`; the number of bytes written, or nothing when the input is not
    // exactly one whole sequence of the source encoding.
    std::optional<std::size_t> convert(const char* in, std::size_t inSize, char* out,
                                       std::size_t outSize) {
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        std::size_t inLeft = inSize;
        std::size_t outLeft = outSize;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        if (inLeft != 0) return std::nullopt;
        return outSize - outLeft;
    }

  private:
    iconv_t cd_;
};

}  // namespace

char16_t toUnit(std::uint16_t code) {
    for (const auto& extra : kExtraBytes)
        if (code == extra.byte) return extra.unit;

    std::array<char, 2> in{};
    std::size_t inSize = 0;
    if (code > 0xFF) in[inSize++] = static_cast<char>(code >> 8);
    in[inSize++] = static_cast<char>(code & 0xFF);

    // Room for two code units, so that two characters (a pair whose first byte is no lead
    // byte) are seen as such rather than as a full buffer.
    std::array<char, 4> out{};
    Converter converter("UTF-16LE", "CP932");
    auto written = converter.convert(in.data(), inSize, out.data(), out.size());
    if (!written || *written != 2) return kNoCharacter;
    auto lo = static_cast<unsigned char>(out[0]);
    auto hi = static_cast<unsigned char>(out[1]);
    return static_cast<char16_t>(lo | (hi << 8));
}

std::optional<std::uint16_t> toCode(char16_t unit) {
    for (const auto& extra : kExtraBytes)
        if (unit == extra.unit) return extra.byte;

    const std::array<char, 2> in = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    std::array<char, 4> out{};
    Converter converter("CP932", "UTF-16LE");
    auto written = converter.convert(in.data(), in.size(), out.data(), out.size());
    if (!written) return std::nullopt;
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(out[i]));
    };
    if (*written == 1) return byte(0);
    if (*written == 2) return static_cast<std::uint16_t>(byte(0) << 8 | byte(1));
    return std::nullopt;
}

}  // namespace pelmora::cp932
