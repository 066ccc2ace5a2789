// The four steps of the study, the pages of PCavct: back freely, forward one step at a time;
// entering a step rebuilds or computes what it shows.

#include "shell/EspaceTravail.h"
#include "util/Erreurs.h"
#include "vault/VerificationsEtude.h"

void TEspaceTravail::PCavctChanging() {
    OngletQuitte = OngletActif;
}

void TEspaceTravail::PCavctChange(int t) {
    if (t < 0 || t > 3) throw EErreur("onglet inexistant : " + std::to_string(t));
    AppliquerRotationTapee();
    if (t > OngletQuitte + 1) {
        OngletActif = OngletQuitte;
        return;
    }
    OngletActif = t;
    AffichageNavigateur = t == 3;
    switch (t) {
    case 1:
        // A quarter off the survey is moved from "Structure": the step opens and says why it
        // has no structure.
        try {
            ActualiserStructure();
        } catch (const EQuartierVide& e) {
            Plateforme.AfficherStatut(1, e.what());
        }
        break;
    case 2:
        if (OngletQuitte == 1) ActualiserStructure();
        CalculerCharges();
        break;
    case 3:
        // The browser then shows ResulNdC, the report of this calculation.
        if (OngletQuitte == 2) CalculerCharges();
        break;
    default:
        break;
    }
    RetracerTout();
}

bool TEspaceTravail::ChangerOnglet(int t) {
    PCavctChanging();
    PCavctChange(t);
    return OngletActif == t;
}
