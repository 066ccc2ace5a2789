#include "fields/DomaineChamp.h"

#include "util/Utf16.h"

std::string DomaineAdmis(const TCustomGenEdit& champ) {
    std::string min = champ.GE_ValMin(), max = champ.GE_ValMax();
    std::string nature, suffixe = " attendu";
    switch (champ.GE_TypeVal()) {
    case TTypeVal::_integer:
        nature = "entier";
        break;
    case TTypeVal::_double:
        nature = "réel";
        break;
    case TTypeVal::_date:
        nature = "date jj/mm/aa", suffixe = " attendue";
        break;
    case TTypeVal::_string:
        // The limits are example texts: only their lengths count.
        nature = "texte";
        min = min.empty() ? "" : std::to_string(Utf8VersUtf16(min).size());
        max = max.empty() ? "" : std::to_string(Utf8VersUtf16(max).size());
        suffixe = " caractères" + suffixe;
        if (min.empty() && max.empty()) suffixe = " attendu";
        break;
    }
    if (!min.empty() && !max.empty()) return nature + " de " + min + " à " + max + suffixe;
    if (!min.empty()) return nature + " d'au moins " + min + suffixe;
    if (!max.empty()) return nature + " d'au plus " + max + suffixe;
    return nature + suffixe;
}
