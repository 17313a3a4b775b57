#include <windows.h>

#include "platform/clock.h"

namespace platform {
namespace {

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
};

}  // namespace

const Clock& systemClock() {
  static const SystemClock clock;
  return clock;
}

}  // namespace platform
