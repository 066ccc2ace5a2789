#pragma once
// The expression unit: typed values and the evaluator with its table of named functions.

#include "expr/Evaluateur.h"
#include "expr/FormatReel.h"
#include "expr/PuissanceReelle.h"
#include "expr/Valeur.h"
