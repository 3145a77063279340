// The host's clock: the current date, settable so runs can be repeated.
#pragma once

#include <cstdint>
#include <optional>

namespace hostsim {

struct DateTime {
  int year = 1970;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Clock {
 public:
  // Today, in the local time zone.
  Clock();
  // Seconds since 1970-01-01 00:00 UTC (as SOURCE_DATE_EPOCH), read in UTC.
  static Clock fromEpochSeconds(std::int64_t seconds);
  // Throws std::invalid_argument for a date that does not exist.
  static Clock at(const DateTime& when);
  // SOURCE_DATE_EPOCH when set to a whole number, else today.
  static Clock fromEnvironment();

  const DateTime& now() const { return now_; }
  void set(const DateTime& when);  // throws std::invalid_argument

  // The host's numbering of the days of the week: 1 = Friday ... 7 = Thursday.
  int dayOfWeek() const;

 private:
  DateTime now_;
};

}  // namespace hostsim
