// The local date and time of day, behind an interface so that code which
// files things by day (the daily log) can be run at any moment in tests,
// midnight included.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

namespace platform {

struct LocalDateTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime now() const = 0;
  // Seconds since 1970-01-01 UTC, whatever the time zone.
  virtual int64_t utcSeconds() const { return static_cast<int64_t>(std::time(nullptr)); }
  // The time of day in the user's long time format. The default is the
  // Brazilian one, two-digit hours, minutes and seconds joined by colons.
  virtual std::string longTimeText(const LocalDateTime& t) const {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour % 100, t.minute % 100,
                  t.second % 100);
    return text;
  }
  // The user's date and time separators, as dates written with a fixed
  // pattern take them. The default is the Brazilian "/" and ":".
  virtual char dateSeparator() const { return '/'; }
  virtual char timeSeparator() const { return ':'; }
};

// The computer's clock; on Windows the time text and the separators follow
// the user's regional settings.
const Clock& systemClock();

// A clock that stands still until it is set: for tests.
class SettableClock : public Clock {
 public:
  explicit SettableClock(LocalDateTime t = {}) : now_(t) {}
  LocalDateTime now() const override { return now_; }
  void set(const LocalDateTime& t) { now_ = t; }
  int64_t utcSeconds() const override { return utc_; }
  void setUtc(int64_t seconds) { utc_ = seconds; }
  char dateSeparator() const override { return dateSeparator_; }
  char timeSeparator() const override { return timeSeparator_; }
  void setSeparators(char date, char time) {
    dateSeparator_ = date;
    timeSeparator_ = time;
  }

 private:
  LocalDateTime now_;
  int64_t utc_ = 1735689600;  // 2025-01-01T00:00:00Z
  char dateSeparator_ = '/';
  char timeSeparator_ = ':';
};

// "yyyy-mm-dd", zero-padded, whatever the regional settings say.
inline std::string isoDateText(const LocalDateTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year % 10000, t.month % 100, t.day % 100);
  return text;
}

}  // namespace platform
