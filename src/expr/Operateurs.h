#pragma once
// The operators of expressions: priority in the high byte of `op`, operation in the low byte,
// whose high four bits give the class (0x10 arithmetic, 0x20 comparison, 0x30 logic,
// 0x40 concatenation).

#include "expr/Valeur.h"

#include <cstdint>

struct Toperateur {
    std::uint16_t op = 0; // 0: the end of the expression
    bool posUnaire = false;

    // Only NON, + and - may stand before an operand.
    bool unaire() const { return op == 0x333 || op == 0x410 || op == 0x411; }
    std::uint8_t priorite() const { return posUnaire ? 255 : std::uint8_t(op >> 8); }
    std::uint8_t codeop() const { return std::uint8_t(op & 0xFF); }

    // Prefix: changes `opd` in place. False when the operand's type does not fit.
    bool resultatUnaire(Tvaleur& opd) const;
    // Infix: `droite` receives the result of `gauche` op `droite`. False when the operand types
    // do not fit; DIV and MOD by zero raise EErrDivisionEntiere.
    bool resultat(const Tvaleur& gauche, Tvaleur& droite) const;
};
