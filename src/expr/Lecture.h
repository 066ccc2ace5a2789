#pragma once
// Reading state of one evaluation, shared by the evaluator and the reading of names.

#include "expr/Evaluateur.h"

#include <cstdint>
#include <string>

enum TResultatLecture : std::uint8_t { lrFin = 0, lrLu = 1, lrErreur = 255 };

class TLecture {
public:
    TLecture(const std::u16string& texte, std::int32_t pos, const TFnVariable& fnVariable,
             const TFnFonction& fnFonction)
        : FnVariable(fnVariable), FnFonction(fnFonction), Pos(pos), texte_(texte) {}

    const TFnVariable& FnVariable;
    const TFnFonction& FnFonction;
    std::int32_t Pos; // from 1; outside the text reads as the end character 0
    int Profondeur = 0;

    char16_t Courant() const {
        return Pos >= 1 && std::size_t(Pos) <= texte_.size() ? texte_[std::size_t(Pos) - 1] : 0;
    }
    char16_t Suivant() {
        const char16_t c = Courant();
        if (c != 0) ++Pos;
        return c;
    }
    void Reculer() {
        if (Pos > 1) --Pos;
    }
    void SauterEspaces() {
        while (Courant() == u' ')
            ++Pos;
    }

private:
    const std::u16string& texte_;
};

// Only a to z change: accented letters stay as they are.
inline char16_t Maj(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

TResultatLecture LireExpression(TLecture& l, Tvaleur& V, bool espacesSignificatifs);
// A name of the table of constants and functions, or a user function.
TResultatLecture LireFonction(TLecture& l, Tvaleur& operande);
// A variable given by the caller's FnVariable, with its optional indices.
TResultatLecture LireVariable(TLecture& l, Tvaleur& operande);
