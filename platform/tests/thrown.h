#pragma once
// For tests of code that fails by throwing the plain narrow texts.
#include <string>

// Runs body and returns the C string it threw, "(other exception)" for any
// other exception, or "" when it threw nothing.
template <typename F>
std::string Thrown(F body) {
  try {
    body();
  } catch (const char* message) {
    return message;
  } catch (...) {
    return "(other exception)";
  }
  return std::string();
}
