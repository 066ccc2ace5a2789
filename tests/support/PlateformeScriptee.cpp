#include "support/PlateformeScriptee.h"

void TPlateformeScriptee::AfficherStatut(int panneau, const std::string& texte) {
    if (panneau == 1)
        Statuts.push_back(texte);
    else
        Panneau0 = texte;
}

void TPlateformeScriptee::TraiterMessages() {
    ++Traitements;
    if (Traitements == EchapAuTraitement && Travail) Travail->ToucheEchap();
}

TReponse TPlateformeScriptee::Demander(const std::string& question, TReponse parDefaut) {
    Questions.push_back(question);
    ReponsesParDefaut.push_back(parDefaut);
    if (Reponses.empty()) return TReponse::Non;
    const TReponse r = Reponses.front();
    Reponses.pop_front();
    return r;
}
