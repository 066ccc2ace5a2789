#pragma once
// Numbers as text, always with "." as the decimal separator whatever the user's locale.

#include <cstdint>
#include <string>
#include <string_view>

// printf-style pattern, formatted in the C locale.
std::string Formater(const char* patron, ...) __attribute__((format(printf, 1, 2)));

// The shortest decimal text that reads back as exactly `x` ("12.7", "30", "1e-20"); finite x.
std::string ReelExact(double x);

// Decimal text of a real, or of an integer, read whole: false when the text is not exactly a
// number (no blanks, no trailing text; "nan" and "inf" are not numbers). A leading "+" is allowed.
bool LireReel(std::string_view texte, double& valeur);
bool LireEntier(std::string_view texte, std::int64_t& valeur);
// A real as a user types it: a decimal comma is the decimal point ("1,5" is 1.5; "1.000,5",
// with two separators, is no number).
bool LireReelSaisi(std::string_view texte, double& valeur);
