#pragma once
// The batch command's surroundings: messages on stderr, no window, no questions.

#include "shell/TPlateforme.h"

class TPlateformeConsole : public TPlateforme {
public:
    void AfficherStatut(int, const std::string&) override {}
    void TraiterMessages() override {}
    TReponse Demander(const std::string&, TReponse) override { return TReponse::Non; }
    void AfficherMessage(const std::string& message) override;
    void FixerTitre(const std::string&) override {}
    int CurseurCourant() override { return 0; }
    void FixerCurseur(int) override {}
    bool ShiftEnfonce() override { return false; }
    void RedessinerVue() override {}
    std::string EtatMenus() override { return {}; }
    void FixerEtatMenus(const std::string&) override {}
};
