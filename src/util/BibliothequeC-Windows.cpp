#include "util/BibliothequeC.h"

#include <clocale>
#include <cstring>
#include <locale.h>
#include <string>

// The C library's locale is the process's unless the thread asks for its own: only then is the
// C locale set, and only for this thread.
TLocaleC::TLocaleC() {
    const char* actuelle = std::setlocale(LC_NUMERIC, nullptr);
    if (actuelle && std::strcmp(actuelle, "C") == 0) return;
    mode_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    ancienne_ = new std::string(actuelle ? actuelle : "C");
    std::setlocale(LC_NUMERIC, "C");
}

TLocaleC::~TLocaleC() {
    if (!ancienne_) return;
    auto* ancienne = static_cast<std::string*>(ancienne_);
    std::setlocale(LC_NUMERIC, ancienne->c_str());
    _configthreadlocale(mode_);
    delete ancienne;
}

bool DecomposerInstant(std::time_t instant, bool utc, std::tm& t) {
    return (utc ? gmtime_s(&t, &instant) : localtime_s(&t, &instant)) == 0;
}
