#include "fields/SaisieOption.h"

#include "fields/DomaineChamp.h"
#include "util/Erreurs.h"

std::string AppliquerTexteChamp(TCustomGenEdit& champ, const std::string& texte) {
    const bool numerique =
        champ.GE_TypeVal() == TTypeVal::_integer || champ.GE_TypeVal() == TTypeVal::_double;
    if (numerique && !texte.empty() && texte.front() == '=') {
        const std::string expression = texte.substr(1);
        try {
            if (!champ.SaisirCalcul(expression))
                return "expression impossible à calculer : « " + expression + " »";
        } catch (const EErreur& e) {
            return e.what();
        }
        return champ.ValOK() ? std::string()
                             : "l'expression donne " + champ.Text() + ", " + DomaineAdmis(champ);
    }
    champ.TypeText(texte);
    return champ.ValOK() ? std::string() : DomaineAdmis(champ);
}
