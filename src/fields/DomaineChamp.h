#pragma once
// What a validated field accepts, in words, for the messages that refuse a value.

#include "fields/CGenEdit.h"

#include <string>

// "entier de 3 à 20 attendu", "réel attendu"...: the field's kind and its limits in display units.
std::string DomaineAdmis(const TCustomGenEdit& champ);
