#include "evaluator/datetime.h"

#include <pelmora/failure.h>

#include <cmath>
#include <cstdint>
#include <optional>

namespace pelmora {

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};
constexpr int kSecondsPerDay = 86400;
// Far beyond year 9999 either way, yet small enough for exact integer day numbers.
constexpr double kDayCountLimit = 1e7;

bool yearInRange(year y) {
    return y >= year{100} && y <= year{9999};
}

void appendNumber(std::u16string& out, int value, int width) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    while (static_cast<int>(digits.size()) < width) digits.insert(digits.begin(), u'0');
    out += digits;
}

std::u16string timeText(const DateParts& parts) {
    std::u16string out;
    appendNumber(out, parts.hour, 1);
    out += u':';
    appendNumber(out, parts.minute, 2);
    out += u':';
    appendNumber(out, parts.second, 2);
    return out;
}

// A cursor over the text that reads runs of ASCII digits and single characters.
class Reader {
  public:
    explicit Reader(std::u16string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    bool peek(char16_t c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool take(char16_t c) {
        if (!peek(c)) return false;
        ++pos_;
        return true;
    }
    std::size_t skipSpaces() {
        std::size_t start = pos_;
        while (peek(u' ')) ++pos_;
        return pos_ - start;
    }
    // Between minDigits and maxDigits digits, or nothing (and the cursor stays).
    std::optional<int> number(std::size_t minDigits, std::size_t maxDigits) {
        std::size_t start = pos_;
        int value = 0;
        while (pos_ < text_.size() && pos_ - start < maxDigits && text_[pos_] >= u'0' &&
               text_[pos_] <= u'9') {
            value = value * 10 + (text_[pos_] - u'0');
            ++pos_;
        }
        if (pos_ - start < minDigits ||
            (pos_ < text_.size() && text_[pos_] >= u'0' && text_[pos_] <= u'9')) {
            pos_ = start;
            return std::nullopt;
        }
        return value;
    }
    std::size_t position() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

  private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

std::optional<year_month_day> readDate(Reader& in) {
    std::size_t start = in.position();
    auto y = in.number(3, 4);
    if (y && in.take(u'/')) {
        auto m = in.number(1, 2);
        if (m && in.take(u'/')) {
            auto d = in.number(1, 2);
            if (d) {
                year_month_day ymd{year{*y}, month{static_cast<unsigned>(*m)},
                                   day{static_cast<unsigned>(*d)}};
                if (!ymd.ok() || !yearInRange(ymd.year())) throw EvalFailure("not a date");
                return ymd;
            }
        }
    }
    in.rewind(start);
    return std::nullopt;
}

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};

std::optional<TimeOfDay> readTime(Reader& in) {
    std::size_t start = in.position();
    auto h = in.number(1, 2);
    if (h && in.take(u':')) {
        auto m = in.number(1, 2);
        if (m) {
            TimeOfDay t{*h, *m, 0};
            if (in.take(u':')) {
                auto s = in.number(1, 2);
                if (!s) throw EvalFailure("not a time");
                t.second = *s;
            }
            if (t.hour > 23 || t.minute > 59 || t.second > 59) throw EvalFailure("not a time");
            return t;
        }
    }
    in.rewind(start);
    return std::nullopt;
}

}  // namespace

DateParts splitDate(double days) {
    if (!(std::fabs(days) < kDayCountLimit)) throw EvalFailure("date out of range");
    double whole = std::trunc(days);
    auto dayNumber = static_cast<std::int64_t>(whole);
    auto seconds =
        static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        // Rounded up to midnight: the next day, away from the epoch for negative counts.
        seconds -= kSecondsPerDay;
        dayNumber += days < 0 ? -1 : 1;
    }
    year_month_day ymd{kEpoch + sys_days::duration{dayNumber}};
    if (!yearInRange(ymd.year())) throw EvalFailure("date out of range");
    auto s = static_cast<int>(seconds);
    return DateParts{ymd, s / 3600, s / 60 % 60, s % 60};
}

double dayCount(year_month_day day, int hour, int minute, int second) {
    auto whole = static_cast<double>((sys_days{day} - kEpoch).count());
    double fraction = (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
    return whole < 0 ? whole - fraction : whole + fraction;
}

double dayCount(LocalTime t) {
    auto midnight = floor<days>(t);
    hh_mm_ss clock{t - midnight};
    year_month_day ymd{sys_days{midnight.time_since_epoch()}};
    return dayCount(ymd, static_cast<int>(clock.hours().count()),
                    static_cast<int>(clock.minutes().count()),
                    static_cast<int>(clock.seconds().count()));
}

std::u16string shortDateText(year_month_day day) {
    std::u16string out;
    appendNumber(out, static_cast<int>(day.year()), 4);
    out += u'/';
    appendNumber(out, static_cast<int>(static_cast<unsigned>(day.month())), 2);
    out += u'/';
    appendNumber(out, static_cast<int>(static_cast<unsigned>(day.day())), 2);
    return out;
}

std::u16string dateText(double days) {
    DateParts parts = splitDate(days);
    bool midnight = parts.hour == 0 && parts.minute == 0 && parts.second == 0;
    if (sys_days{parts.day} == kEpoch) return timeText(parts);
    if (midnight) return shortDateText(parts.day);
    return shortDateText(parts.day) + u' ' + timeText(parts);
}

double parseDateTime(std::u16string_view text) {
    Reader in(text);
    in.skipSpaces();
    auto date = readDate(in);
    std::optional<TimeOfDay> time;
    if (!date) {
        time = readTime(in);
    } else if (in.skipSpaces() > 0) {
        time = readTime(in);
    }
    in.skipSpaces();
    if ((!date && !time) || !in.atEnd()) throw EvalFailure("not a date or time");
    TimeOfDay t = time.value_or(TimeOfDay{});
    if (!date) return (t.hour * 3600 + t.minute * 60 + t.second) / double{kSecondsPerDay};
    return dayCount(*date, t.hour, t.minute, t.second);
}

}  // namespace pelmora
