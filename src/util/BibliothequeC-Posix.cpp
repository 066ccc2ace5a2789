#include "util/BibliothequeC.h"

#include <locale.h>

namespace {

locale_t LocaleC() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

} // namespace

TLocaleC::TLocaleC() : ancienne_(uselocale(LocaleC())) {}

TLocaleC::~TLocaleC() {
    uselocale(static_cast<locale_t>(ancienne_));
}

bool DecomposerInstant(std::time_t instant, bool utc, std::tm& t) {
    return utc ? gmtime_r(&instant, &t) : localtime_r(&instant, &t);
}
