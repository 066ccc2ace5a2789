#pragma once
// A platform for tests: scripted answers, an Esc injected at the n-th message processing, and a
// record of everything shown.

#include "shell/EspaceTravail.h"
#include "shell/TPlateforme.h"

#include <deque>
#include <string>
#include <vector>

class TPlateformeScriptee : public TPlateforme {
public:
    // Answers given in turn to the questions; Non once they run out.
    std::deque<TReponse> Reponses;
    // Esc reaches `Travail` at the n-th processing of pending messages (1-based; 0: never).
    int EchapAuTraitement = 0;
    TEspaceTravail* Travail = nullptr;
    bool Shift = false;
    // Enabled state of the menu items, as TPlateforme::EtatMenus gives it.
    std::string Menus = "TTFTT";

    std::vector<std::string> Statuts; // panel 1 texts, in order
    std::string Panneau0;             // panel 0's text
    std::vector<std::string> Questions;
    std::vector<std::string> Messages;
    std::string Titre;
    int Traitements = 0;
    int Redessins = 0;
    int Curseur = 0;

    void AfficherStatut(int panneau, const std::string& texte) override;
    void TraiterMessages() override;
    TReponse Demander(const std::string& question, TReponse parDefaut) override;
    std::vector<TReponse> ReponsesParDefaut; // of each question, in order
    void AfficherMessage(const std::string& message) override { Messages.push_back(message); }
    void FixerTitre(const std::string& titre) override { Titre = titre; }
    // The file chosen when "Enregistrer" cannot write beside the scan, and the targets it was
    // asked for.
    std::string Ailleurs;
    std::vector<std::string> CiblesAilleurs;
    std::string EnregistrerAilleurs(const std::string& cible) override {
        CiblesAilleurs.push_back(cible);
        return Ailleurs;
    }
    int CurseurCourant() override { return Curseur; }
    void FixerCurseur(int numero) override { Curseur = numero; }
    bool ShiftEnfonce() override { return Shift; }
    void RedessinerVue() override { ++Redessins; }
    std::string EtatMenus() override { return Menus; }
    void FixerEtatMenus(const std::string& etat) override { Menus = etat; }
};

// A workspace wired to its scripted platform.
struct TBancEssai {
    TPlateformeScriptee Plateforme;
    TEspaceTravail Travail{Plateforme};
    TBancEssai() { Plateforme.Travail = &Travail; }
};
