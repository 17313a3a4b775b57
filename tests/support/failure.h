// What an action raised, as the program reports it: "<class name> -
// <message>" of the quelta::Error; "no failure" when it raised nothing and
// "foreign exception" for anything else.
#pragma once

#include <functional>
#include <string>

#include "platform/error.h"

inline std::string failureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const quelta::Error& e) {
    return quelta::describe(e);
  } catch (...) {
    return "foreign exception";
  }
  return "no failure";
}
