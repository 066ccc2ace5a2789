#pragma once
// What the workspace asks of its surroundings: the window, the batch command or a test.

#include <optional>
#include <string>

enum class TReponse { Oui, Non, Annulee };

class TPlateforme {
public:
    virtual ~TPlateforme() = default;

    // Text of a panel of the status bar (0 or 1).
    virtual void AfficherStatut(int panneau, const std::string& texte) = 0;
    // Lets the window process its pending messages: repaints, and the Esc key, which reaches the
    // workspace through TEspaceTravail::ToucheEchap.
    virtual void TraiterMessages() = 0;
    // A confirmation with the buttons Oui and Non; Annulee when dismissed without an answer.
    // `parDefaut` (Oui or Non) is the answer of the Return key: Non for a question whose Oui
    // destroys something.
    virtual TReponse Demander(const std::string& question, TReponse parDefaut) = 0;
    // A plain message box (stderr in the batch command).
    virtual void AfficherMessage(const std::string& message) = 0;
    // A failure or a warning: the same, with the box's warning sign where there is one.
    virtual void AfficherErreur(const std::string& message) { AfficherMessage(message); }
    virtual void FixerTitre(const std::string& titre) = 0;
    // The file "Enregistrer" writes instead of `cible`, whose folder takes no file (an installed
    // sample): one the user chooses, asked before replacing it; empty when cancelled or when
    // there is nobody to ask.
    virtual std::string EnregistrerAilleurs(const std::string& cible) {
        (void)cible;
        return {};
    }

    // Screen cursors: the current number and showing one (the hourglass is -11).
    virtual int CurseurCourant() = 0;
    virtual void FixerCurseur(int numero) = 0;
    virtual bool ShiftEnfonce() = 0;

    // The view must be repainted (its scene was invalidated or the camera moved).
    virtual void RedessinerVue() = 0;

    // The enabled state of the window's menu items, one character per item, "T" enabled and "F"
    // disabled, the items taken depth first in menu order; empty without menus.
    virtual std::string EtatMenus() = 0;
    // Gives each menu item the state of its character: an item whose character is not "T", or
    // that has none, is disabled.
    virtual void FixerEtatMenus(const std::string& etat) = 0;
};
