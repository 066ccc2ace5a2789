#pragma once
// The workspace's surroundings in the desktop program: the main window's status bar, message
// boxes and menus, the wait cursor, and the support journal.

#include "shell/Journal.h"
#include "shell/TPlateforme.h"

#include <functional>
#include <optional>

class TFArkalune;

// The fixed title of every message box.
inline constexpr const char* TitreMessages = "Arkalune";

class TPlateformeQt : public TPlateforme {
public:
    explicit TPlateformeQt(TFArkalune& fenetre);

    void AfficherStatut(int panneau, const std::string& texte) override;
    void TraiterMessages() override;
    TReponse Demander(const std::string& question, TReponse parDefaut) override;
    void AfficherMessage(const std::string& message) override;
    void AfficherErreur(const std::string& message) override;
    void FixerTitre(const std::string& titre) override;
    std::string EnregistrerAilleurs(const std::string& cible) override;
    int CurseurCourant() override { return curseur_; }
    void FixerCurseur(int numero) override;
    bool ShiftEnfonce() override;
    void RedessinerVue() override;
    std::string EtatMenus() override;
    void FixerEtatMenus(const std::string& etat) override;

    // While `traitement` runs, ShiftEnfonce gives `shift`: the key as it was at the event being
    // handled, which the keyboard's state at the moment of the handling need not be.
    void PendantEvenement(bool shift, const std::function<void()>& traitement);

private:
    // A message box with that icon (a QMessageBox::Icon).
    void Montrer(int icone, const std::string& message);
    TFArkalune& fenetre_;
    TJournal journal_;
    int curseur_ = 0;
    std::optional<bool> shiftEvenement_;
};
