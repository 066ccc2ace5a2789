#pragma once
// Conversions between the core's UTF-8 text and the UTF-16 code units on which the expression
// evaluator and its string values work. Malformed input never fails: each bad sequence (or lone
// surrogate) becomes U+FFFD.

#include <string>
#include <string_view>

std::u16string Utf8VersUtf16(std::string_view texte);
std::string Utf16VersUtf8(std::u16string_view texte);
