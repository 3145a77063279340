#include "clock.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hostsim {
namespace {

DateTime fromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void check(const DateTime& when) {
  using namespace std::chrono;
  const year_month_day date{year{when.year}, month{static_cast<unsigned>(when.month)},
                            day{static_cast<unsigned>(when.day)}};
  if (when.year < 1 || when.year > 9999 || when.month < 1 || when.month > 12 || when.day < 1 ||
      !date.ok() || when.hour < 0 || when.hour > 23 || when.minute < 0 || when.minute > 59 ||
      when.second < 0 || when.second > 60)
    throw std::invalid_argument("no such date: " + std::to_string(when.year) + "-" +
                                std::to_string(when.month) + "-" + std::to_string(when.day) + " " +
                                std::to_string(when.hour) + ":" + std::to_string(when.minute) + ":" +
                                std::to_string(when.second));
}

}  // namespace

Clock::Clock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  now_ = fromTm(local);
}

Clock Clock::fromEpochSeconds(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds instant{std::chrono::seconds{seconds}};
  const sys_days days = floor<std::chrono::days>(instant);
  const year_month_day date{days};
  const hh_mm_ss<std::chrono::seconds> time{instant - days};
  return at({static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
             static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
             static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count())});
}

Clock Clock::at(const DateTime& when) {
  Clock clock;
  clock.set(when);
  return clock;
}

Clock Clock::fromEnvironment() {
  if (const char* text = std::getenv("SOURCE_DATE_EPOCH")) {
    const std::string_view value = text;
    std::int64_t seconds = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (ec == std::errc{} && end == value.data() + value.size() && !value.empty())
      return fromEpochSeconds(seconds);
  }
  return Clock();
}

void Clock::set(const DateTime& when) {
  check(when);
  now_ = when;
}

int Clock::dayOfWeek() const {
  using namespace std::chrono;
  const weekday wd{sys_days{year{now_.year} / month{static_cast<unsigned>(now_.month)} /
                            day{static_cast<unsigned>(now_.day)}}};
  // c_encoding: Sunday 0 .. Saturday 6; the host counts from Friday.
  return static_cast<int>((wd.c_encoding() + 2) % 7) + 1;
}

}  // namespace hostsim
