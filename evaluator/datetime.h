// Date values: a day count from 1899-12-30 with the time of day as the fraction.
#pragma once

#include "evaluator/host.h"

#include <chrono>
#include <string>

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

double dayCount(std::chrono::year_month_day day, int hour, int minute, int second);
double dayCount(LocalTime t);

// "2026/12/05 9:05:07"; the date alone at midnight, the time alone for day count 0.
std::u16string dateText(double days);

}  // namespace pelmora
