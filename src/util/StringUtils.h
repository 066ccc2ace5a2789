#pragma once
// Small text helpers (UTF-8).

#include <string>
#include <string_view>

// Without the blanks and control characters (<= U+0020) at both ends, or at the end only.
std::string Rogner(std::string_view s);
std::string RognerFin(std::string_view s);
// Without any space or no-break space (U+00A0): "1 234" reads as a number.
std::string SupprimerEspaces(std::string_view s);
// Every no-break space turned into a space.
std::string EspacesInsecablesEnEspaces(std::string_view s);
// Only a-z and A-Z change.
std::string MajusculesAscii(std::string s);
std::string MinusculesAscii(std::string s);
// Valid UTF-8: each byte that starts no valid sequence (a name in another encoding, a cut
// character) is replaced by U+FFFD.
std::string Utf8Valide(std::string_view s);
