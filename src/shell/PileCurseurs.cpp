#include "shell/PileCurseurs.h"

#include "shell/TPlateforme.h"

void TPileCurseurs::EmpilerCurseur(TPlateforme& plateforme, int curseur) {
    pile_.push_back(plateforme.CurseurCourant());
    plateforme.FixerCurseur(curseur);
    plateforme.TraiterMessages();
}

void TPileCurseurs::DepilerCurseur(TPlateforme& plateforme) {
    if (pile_.empty()) return;
    plateforme.FixerCurseur(pile_.back());
    pile_.pop_back();
    plateforme.TraiterMessages();
}
