#include "util/DateCalcul.h"

#include "util/BibliothequeC.h"
#include "util/Format.h"

#include <cstdlib>

std::string DateEnClair(std::time_t instant, bool utc) {
    std::tm t{};
    if (!DecomposerInstant(instant, utc, t)) return "?";
    return Formater("%02d/%02d/%04d à %02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                    t.tm_hour, t.tm_min);
}

std::string DateDuCalcul() {
    if (const char* fixe = std::getenv("SOURCE_DATE_EPOCH")) {
        std::int64_t secondes = 0;
        if (LireEntier(fixe, secondes)) return DateEnClair(std::time_t(secondes), true);
    }
    return DateEnClair(std::time(nullptr), false);
}
