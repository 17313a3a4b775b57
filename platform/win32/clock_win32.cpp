#include <windows.h>

#include "platform/clock.h"

namespace platform {
namespace {

// The first character of a locale text (a separator), or `fallback`.
char localeCharacter(LCTYPE type, char fallback) {
  char text[8];
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) > 1 ? text[0] : fallback;
}

class SystemClock : public Clock {
 public:
  LocalDateTime now() const override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  }

  // The user's long time format, as the regional settings give it.
  std::string longTimeText(const LocalDateTime& t) const override {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    char text[128];
    int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
    if (n <= 1) return Clock::longTimeText(t);
    return std::string(text, static_cast<size_t>(n - 1));
  }

  char dateSeparator() const override { return localeCharacter(LOCALE_SDATE, '/'); }
  char timeSeparator() const override { return localeCharacter(LOCALE_STIME, ':'); }
};

}  // namespace

const Clock& systemClock() {
  static const SystemClock clock;
  return clock;
}

}  // namespace platform
