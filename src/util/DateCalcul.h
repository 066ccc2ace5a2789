#pragma once
// The date a report gives for its calculation.

#include <ctime>
#include <string>

// "10/12/2026 à 23:15", local time. When SOURCE_DATE_EPOCH holds a number of seconds, that
// instant in UTC instead: reports made twice from the same inputs are then the same bytes.
std::string DateDuCalcul();

// The date of `instant`, in local time or in UTC.
std::string DateEnClair(std::time_t instant, bool utc);
