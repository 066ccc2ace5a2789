#include "fields/PatronFormat.h"

#include "util/Format.h"

#include <cctype>
#include <cstring>

namespace {

// The conversion letter of the pattern's only conversion, when it has exactly one and it is
// of the form %[-+ #0][width][.precision]letter with at most two digits for each number.
std::optional<char> ConversionUnique(const std::string& patron) {
    std::optional<char> conversion;
    for (std::size_t i = 0; i < patron.size(); ++i) {
        if (patron[i] != '%') continue;
        if (++i < patron.size() && patron[i] == '%') continue;
        while (i < patron.size() && std::strchr("-+ #0", patron[i]) != nullptr)
            ++i;
        const auto chiffres = [&] {
            std::size_t n = 0;
            for (; i < patron.size() && std::isdigit(static_cast<unsigned char>(patron[i])); ++i)
                ++n;
            return n;
        };
        if (chiffres() > 2) return std::nullopt;
        if (i < patron.size() && patron[i] == '.') {
            ++i;
            if (chiffres() > 2) return std::nullopt;
        }
        if (i >= patron.size() || conversion) return std::nullopt;
        conversion = patron[i];
    }
    return conversion;
}

} // namespace

// The pattern is checked first, hence the non-literal format.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"

std::optional<std::string> FormaterSelonPatron(const std::string& patron, std::int32_t valeur) {
    const auto c = ConversionUnique(patron);
    if (!c || (*c != 'd' && *c != 'i')) return std::nullopt;
    return Formater(patron.c_str(), valeur);
}

std::optional<std::string> FormaterSelonPatron(const std::string& patron, double valeur) {
    const auto c = ConversionUnique(patron);
    if (!c || std::strchr("feEgG", *c) == nullptr) return std::nullopt;
    return Formater(patron.c_str(), valeur);
}

#pragma GCC diagnostic pop
