#pragma once
// Dates of a `_date` field: days since 30/12/1899 (the fraction is the time of day), written
// dd/mm/yy and read as dd/mm/yy or dd/mm/yyyy (a two-digit year below 50 is in the 2000s).

#include <optional>
#include <string>
#include <string_view>

// Empty for a value that is no date of the years 1 to 9999.
std::string FormaterDateCourte(double dateHeure);
std::optional<double> LireDateCourte(std::string_view texte);
