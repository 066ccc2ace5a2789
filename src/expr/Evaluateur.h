#pragma once
// The expression evaluator: one left-to-right pass over UTF-16 text with an operator stack and
// an operand stack, French word operators (OU, OUEX, ET, NON, DIV, MOD), comparisons, strings,
// the table of named constants and functions, and optional variables and user functions.

#include "expr/Valeur.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// A variable's value from its name (upper case, "%" kept), or none when it is unknown.
using TFnVariable = std::function<std::optional<Tvaleur>(const std::u16string& nom)>;
// A user function's result from its name (upper case) and its arguments, or none.
using TFnFonction =
    std::function<std::optional<Tvaleur>(const std::u16string& nom, const TValArray& args)>;

// DIV or MOD by zero, or a quotient beyond 64 bits.
class EErrDivisionEntiere : public EErreur {
public:
    using EErreur::EErreur;
};

// Text after a complete expression, where the whole text was to be one.
class EErrTexteEnTrop : public EErreur {
public:
    using EErreur::EErreur;
};

// Expressions nested deeper than this fail with an error instead of exhausting the stack.
inline constexpr int ProfondeurMaxExpression = 256;

// Reads one expression of Texte from Pos (1-based) and stores its value into V. True on success,
// with Pos on the first character not used, past any spaces; false when the text is not an
// expression there, with V unchanged and Pos back where reading began (past leading spaces).
// The errors of functions, variables, integer division and the real power leave as exceptions.
bool EvaluerExpression(Tvaleur& V, const std::u16string& Texte, std::int32_t& Pos,
                       const TFnVariable& FnVariable, const TFnFonction& FnFonction,
                       bool EspacesSignificatifs);

// The whole text as one expression, without variables or user functions. False when it does not
// begin with an expression; an expression followed by anything but spaces raises EErrTexteEnTrop
// naming what follows (a value read from part of a text is not the value the user meant:
// "1,5" is not 1). V changes only on success.
bool CalculerTexte(Tvaleur& V, const std::u16string& Texte);
