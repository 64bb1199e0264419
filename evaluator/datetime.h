// Date values: a day count from 1899-12-30 with the time of day as the fraction.
#pragma once

#include <pelmora/host.h>

#include <chrono>
#include <string>
#include <string_view>

namespace pelmora {

struct DateParts {
    std::chrono::year_month_day day;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Splits a day count into the calendar day and the time of day, rounded to the second. A
// negative day count takes its time from the absolute value (-1.25 is 1899-12-29 06:00).
// Fails outside the years 100 to 9999.
DateParts splitDate(double days);

// The inverse of splitDate: before 1899-12-30 the time is subtracted from the day count.
double dayCount(std::chrono::year_month_day day, int hour, int minute, int second);
double dayCount(LocalTime t);

// "2026/12/05 9:05:07"; the date alone at midnight, the time alone for day count 0.
std::u16string dateText(double days);

// The short date form "2026/12/05", the year always four digits.
std::u16string shortDateText(std::chrono::year_month_day day);

// Reads a date, a time or both as the text forms above write them ("2026/12/05",
// "12:34", "12:34:56", "2026/12/05 9:05"), with spaces around; gives the day count.
// Anything else fails.
double parseDateTime(std::u16string_view text);

}  // namespace pelmora
