#pragma once
// A field's own text format (GE_ChnFrmt): a printf-style pattern with one conversion, checked
// before use so that a wrong pattern can never read a missing argument. None when the pattern
// does not fit the value (the field then shows its usual text).

#include <cstdint>
#include <optional>
#include <string>

std::optional<std::string> FormaterSelonPatron(const std::string& patron, std::int32_t valeur);
std::optional<std::string> FormaterSelonPatron(const std::string& patron, double valeur);
