#pragma once
// A study option of the batch command given to its field as the window's input would receive it.

#include "fields/CGenEdit.h"

#include <string>

// Gives `texte` to the field as the window's input would receive it. A text beginning with "="
// is the expression typed in the popup: evaluated as SaisirCalcul does (an integer field keeps
// the low 32 bits of the truncated result), then validated. Returns an empty string when the field
// accepted the value, otherwise the French reason, naming the admitted range
// (e.g. "entier de 3 à 20 attendu"), or the evaluator's message.
std::string AppliquerTexteChamp(TCustomGenEdit& champ, const std::string& texte);
