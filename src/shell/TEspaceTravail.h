#pragma once
// The workspace: the one scan, the view state, the study and its inputs, and every command the
// user can run on them. The window, the batch command and the tests drive it through the same
// methods; it reaches its surroundings only through TPlateforme.

#include "fields/ChampsEtude.h"
#include "scan/UArkaluneGlb.h"
#include "shell/TPlateforme.h"
#include "util/PileCurseurs.h"
#include "vault/RectangleModelisation.h"
#include "view/EtatVue.h"

#include <cstdint>
#include <string>

// Items of the displayed-level list, also used by "Propriétés".
inline constexpr const char* ItemsNivAff[NbNiveaux] = {"0 : 1 m", "1 : 20 cm", "2 : 4 cm",
                                                       "3 : 8 mm", "4 : 1.6 mm"};

class TEspaceTravail {
public:
    explicit TEspaceTravail(TPlateforme& plateforme);
    TEspaceTravail(const TEspaceTravail&) = delete;
    TEspaceTravail& operator=(const TEspaceTravail&) = delete;

    TPlateforme& Plateforme;
    TEtatScan Scan;
    TEtatVue Vue;
    TChampsEtude Champs;
    TRectangleModelisation RecModl;

    // Shell state.
    bool ScanPret = false;
    bool Echap = false;
    bool Drawing = false;
    std::int32_t ModeDefinirAxeX = 0;
    std::string PFsansext;   // current scan file without its extension
    std::string DernierScan; // folder of the last scan opened
    std::string Titre;

    // State of controls that the scan file carries.
    std::int32_t OngletActif = 0;      // page of PCavct: 0 Préparation .. 3 Résultats
    std::int32_t TaillePointsIndex = 0; // item of CmBxTaillePoints ("1" to "4")
    bool CkBxEdFront = false;
    std::int32_t CmBxPtFrontIndex = -1; // -1: nothing selected
    std::int32_t PtFrontSel1a4 = 0;
    std::string TexteEdRotZ = "0";

    // Status texts and cancellation.
    void AffiInfo(int panneau, const std::string& texte);
    bool DemanderAbandon();
    void ToucheEchap();
    void CurseurAttente();
    void FinCurseurAttente();
    void FixerTitre(const std::string& nom);

    void ReinitialiserTravail();
    bool DemanderEnregistrement();

    // Scan files.
    // False when the file could not be loaded (its message has been shown).
    bool ChargerScan(const std::string& chemin);
    // genre 1: binary scan file (.arkl), 2: XYZ text. Returns false when nothing was written.
    bool EnregistrerScan(int genre, int niveau);
    void CalculerEncombrement();
    void FixerNiveauAffiche(int niveau);

    // "Sélection" menu.
    void Deselectionner();
    void MasquerSelection();
    void Demasquer();
    void InverserMasque();
    void SupprimerSelection();
    void SupprimerPointsMasques();
    void AnnulerSuppressions();
    void CompacterScan();
    std::string Proprietes() const;

    // Frontier editing controls of the "Structure" tab.
    void FixerCkBxEdFront(bool coche);
    void CkBxEdFrontClick();
    void CmBxPtFrontCloseUp();

    // View.
    void OrienterVue(int code);
    void ActualiserRotZ();
    void RetracerTout();
    void RetracerPoints();

    // Runs a command: an error ends it and its message is shown.
    template <class F> bool Executer(F&& commande) {
        try {
            commande();
            return true;
        } catch (const std::exception& e) {
            Plateforme.AfficherMessage(e.what());
            return false;
        }
    }

    // --- View: camera, scene, selection, axis definition (add view members below) ---

    // --- Vault study: quarter, arcs, loads, report, tabs (add study members below) ---

private:
    TPileCurseurs curseurs_;
    // False for a file of no known kind; `bilan` says what lines or points were skipped.
    bool ChargerScanSansReprise(const std::string& chemin, int& niveauAffiche, std::string& bilan);
    void TerminerChargement(int niveauAffiche);
};
