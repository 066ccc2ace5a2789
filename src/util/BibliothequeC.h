#pragma once
// Where the C library differs between systems (BibliothequeC-Posix.cpp, BibliothequeC-Windows.cpp).

#include <ctime>

// While it lives, the calling thread reads and writes numbers (printf, strtod) in the C locale,
// whatever the process's locale is: the window's toolkit sets the user's.
class TLocaleC {
public:
    TLocaleC();
    ~TLocaleC();
    TLocaleC(const TLocaleC&) = delete;
    TLocaleC& operator=(const TLocaleC&) = delete;

private:
    void* ancienne_ = nullptr; // what the destructor gives back, as the system has it
    // Windows' per-thread locale setting, given back by the destructor; unused elsewhere.
    [[maybe_unused]] int mode_ = 0;
};

// The calendar date and time of `instant`, in UTC or local time; false when it has none.
bool DecomposerInstant(std::time_t instant, bool utc, std::tm& t);
