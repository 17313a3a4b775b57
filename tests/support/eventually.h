// Waiting in tests for what another thread or process does: the condition
// is looked at every 50 ms for up to `seconds`, and `meanwhile` runs between
// looks (a window test handles its messages there). True once it holds.
#pragma once

#include <chrono>
#include <thread>

template <class Condition, class Meanwhile = void (*)()>
bool eventually(
    Condition condition, int seconds = 30, Meanwhile meanwhile = [] {}) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    meanwhile();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}
