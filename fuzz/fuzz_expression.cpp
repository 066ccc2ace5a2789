// The expression evaluator on arbitrary text: bytes taken two by two as UTF-16 code units
// (little-endian). The evaluator may refuse the text or raise its French errors, nothing else.

#include "expr/Evaluateur.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    std::u16string texte(taille / 2, u'\0');
    for (std::size_t i = 0; i < texte.size(); ++i)
        texte[i] = char16_t(donnees[2 * i] | donnees[2 * i + 1] << 8);
    try {
        Tvaleur v;
        if (CalculerTexte(v, texte)) (void)v.formattxt();
    } catch (const EErreur&) {
    }
    return 0;
}
