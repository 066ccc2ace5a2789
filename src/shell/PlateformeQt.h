#pragma once
// The workspace's surroundings in the desktop program.

#include "shell/TPlateforme.h"

class QMainWindow;
class QStatusBar;
class QLabel;

class TPlateformeQt : public TPlateforme {
public:
    explicit TPlateformeQt(QMainWindow& fenetre);

    void AfficherStatut(int panneau, const std::string& texte) override;
    void TraiterMessages() override;
    TReponse Demander(const std::string& question) override;
    void AfficherMessage(const std::string& message) override;
    void FixerTitre(const std::string& titre) override;
    int CurseurCourant() override { return curseur_; }
    void FixerCurseur(int numero) override;
    bool ShiftEnfonce() override;
    void RedessinerVue() override {}
    std::string EtatMenus() override;
    void FixerEtatMenus(const std::string& etat) override;

private:
    QMainWindow& fenetre_;
    QLabel* panneaux_[2];
    int curseur_ = 0;
};
