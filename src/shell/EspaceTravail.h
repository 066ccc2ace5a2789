#pragma once
// The workspace: the one scan, the view state, the study and its inputs, and every command the
// user can run on them. The window, the batch command and the tests drive it through the same
// methods; it reaches its surroundings only through TPlateforme.

#include "fields/ChampsEtude.h"
#include "scan/FormatsScan.h"
#include "scan/PointsEcartes.h"
#include "scan/UArkaluneGlb.h"
#include "shell/FichiersRecents.h"
#include "shell/PileCurseurs.h"
#include "shell/TPlateforme.h"
#include "util/Erreurs.h"
#include "vault/EtudeVoute.h"
#include "vault/ReleveHauteurs.h"
#include "view/BandeSelection.h"
#include "view/EtatVue.h"
#include "view/SceneVue.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The window's caption while it names no file.
inline constexpr const char* TitreFenetre = "Calcul de voûte nervurée";

class TEspaceTravail {
public:
    explicit TEspaceTravail(TPlateforme& plateforme);
    TEspaceTravail(const TEspaceTravail&) = delete;
    TEspaceTravail& operator=(const TEspaceTravail&) = delete;

    TPlateforme& Plateforme;
    TEtatScan Scan;
    TEtatVue Vue;
    TChampsEtude Champs;

    // Shell state.
    bool ScanPret = false;
    bool Echap = false;
    bool Drawing = false;
    std::int32_t ModeDefinirAxeX = 0;
    std::string PFsansext;    // current scan file without its extension
    std::string ExtScan;      // its extension as typed (".ARKL"), kept by the saver for its kind
    std::string DernierScan;  // folder of the last scan opened
    TFichiersRecents Recents; // the scans opened or saved, newest first
    // Who the report is for and by whom: the window's settings, the batch command's options.
    std::string Projet, Auteur, Verificateur;
    std::string Titre;

    // State of controls that the scan file carries.
    std::int32_t OngletActif = 0;       // page of PCavct: 0 Préparation .. 3 Résultats
    std::int32_t TaillePointsIndex = 0; // item of CmBxTaillePoints ("1" to "4")
    bool CkBxEdFront = false;
    std::int32_t CmBxPtFrontIndex = -1; // -1: nothing selected
    std::int32_t PtFrontSel1a4 = 0;
    std::string TexteEdRotZ = "0";

    // Status texts and cancellation.
    void AffiInfo(int panneau, const std::string& texte);
    // The same for a step that cannot be stopped: an Esc typed meanwhile is forgotten.
    void AffiInfoSansArret(int panneau, const std::string& texte);
    bool DemanderAbandon();
    void ToucheEchap();
    void CurseurAttente();
    void FinCurseurAttente();
    void FixerTitre(const std::string& nom);

    void ReinitialiserTravail();
    // Whether the current scan may be dropped: when a save would store something new (deletions,
    // the study, the displayed level, the rotation), the user is asked, and Oui saves it. False
    // when the question was dismissed or the save did not happen. Nothing is dropped here: the
    // next load replaces the scan, so that a cancelled choice of file leaves it as it was.
    bool DemanderEnregistrement();
    // Something a save would store differs from the file the scan was loaded from or saved to.
    bool DonneesModifiees();

    // Scan files.
    // False when the file could not be loaded (its message has been shown).
    bool ChargerScan(const std::string& chemin);
    // The part of a survey that the loads keep (one bay of a building); none: the whole survey.
    std::optional<TZonePlan> ZoneDeChargement;
    // What the last load skipped, as the status bar shows it after the load; empty when nothing.
    std::string BilanChargement;
    // The load the user asks for: a file of which points were skipped says so in a message, not
    // only in the status bar.
    bool OuvrirScan(const std::string& chemin);
    std::int64_t NbIgnores = 0; // by the last load
    // Returns false when nothing was written: a format the program does not write, or another
    // file of that name that the user would not replace.
    bool EnregistrerScan(const TFormatScan& format, int niveau);
    // Saves to the file the user chose, whose replacement they already agreed to: without a
    // format, the extension's, ".arkl" added to a name without a known one. The scan's file is
    // that one afterwards; after a failure it stays the previous one.
    bool EnregistrerSous(const std::string& chemin, const TFormatScan* format, int niveau);
    // The file the title names: the one the scan was loaded from or last saved to; empty without.
    std::string FichierScan;
    // The main body of the scan, without the points set apart from it: its box places the
    // quarter and frames the view.
    TCorpsDuLeve Corps;
    // Finds the main body again and frames the view on its box (the grid follows the scan's box
    // in scan/).
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

    // Progress texts to the status bar, where Esc may stop the operation.
    TSortieProgression SortieStatut();

    // Runs a command: an error ends it and its message is shown.
    template <class F> bool Executer(F&& commande) {
        try {
            commande();
            return true;
        } catch (const std::exception& e) {
            Plateforme.AfficherErreur(MessageErreur(e));
            return false;
        }
    }

    // --- View: camera, scene, selection, axis definition (their algorithms in view/) ---
    TSceneVue Scene;
    TBandeSelection BandeSelection;
    bool CkBxVoirPoints = true;
    // "couleurs du relevé" rather than "noir": the cubes in their mean colours.
    bool CouleursReleve = false;
    void ChoisirCouleursReleve(bool couleurs);
    std::string svgetatmenu; // menu state saved by GelerMenus; empty when the menus are free
    TV3S NvCooOrig;          // origin of the axis definition
    TV3S NvCooX;             // point fixing its X direction

    // Camera. Sizes and positions in view pixels, y downwards unless stated.
    void PreparerProjection(std::int32_t largeur, std::int32_t hauteur);
    void CalculerRotMatrix(TmatGL16& matrice);
    void DeplacerVue(std::int32_t dx, std::int32_t dy);
    // `pointeur` relative to the view, even when outside it.
    void FormMouseWheel(std::int32_t delta, TPointEcran pointeur, bool& traite);
    // "Tout voir": the whole scan in the view, whatever the orientation and the zoom.
    void ToutVoir();
    void SBtEchPlusClick();
    void SBtEchMoinsClick();
    void BtActualiserRotClick(const std::string& texteEdRotZ);
    // The rotation typed in its field and not yet applied is applied, as by "Actualiser": the
    // study, the report and the saved file use the angle the field shows.
    void AppliquerRotationTapee();

    // Mouse in the view: rotation, pan, rubber band, designation of the axis definition's points.
    void VGLMouseDown(std::int32_t X, std::int32_t Y);
    void VGLMouseMove(TBoutonsSouris boutons, std::int32_t X, std::int32_t Y);
    // `gauche`: a release of the left button; when the pointer has not gone the drag distance
    // since the press, it designates the axis definition's point or reads out the point under
    // the pointer; `mesurer`: with its distance to the point read before.
    void VGLMouseUp(std::int32_t X, std::int32_t Y, bool gauche = false, bool mesurer = false);
    // Shows in the first panel the picked cube's coordinates in the survey's frame, and with
    // `mesurer` its distance to the previous one; "aucun point" when no cube is drawn near (X, Y).
    void LirePoint(std::int32_t X, std::int32_t Y, bool mesurer);
    std::optional<TV3R> PointLu; // the last point read out, in the survey's frame
    void SelectionnerRectangle(std::int32_t X, std::int32_t Y);
    // The drawn cube whose picture is nearest to (X, Y) within 4.5 pixels on each axis, or none.
    const TCube* CubeSousPointeur(std::int32_t X, std::int32_t Y) const;

    // Rebuilds the point batch when it is stale, with its progress texts, under the wait cursor:
    // they let messages through and may ask "Annuler?", so it runs before the paint, never in it.
    void PreparerScene();
    // The scene to draw in a view of that size; none while no scan is ready or during a drawing.
    // Called from the paint: it only uses the point batch as PreparerScene last left it.
    TSceneVue* VGLDraw(std::int32_t largeur, std::int32_t hauteur);

    // "Définir axe X" and the freezing of the menus while it waits for its points.
    void MiDefinirAxeXClick();
    // The step of the axis definition at a release in the view that designated the point q.
    void PrendrePointAxe(const TV3S& q);
    void GelerMenus();
    void RestaurerMenus();
    void RecalculerRepere(const TV3S& origine, const TV3S& pointX);
    // The current step of the study built again after its quarter moved.
    void ReprendreEtape();

    // --- Vault study: quarter, arcs, loads, report, tabs ---
    TEtudeVoute Etude;
    // The index of the displayed cubes' heights, kept from one rebuild of the structure to the
    // next while the displayed set is the same.
    TReleveCubesAffiches ReleveAffiches;
    std::int32_t OngletQuitte = 0;    // page of PCavct being left (ongletactif)
    bool AffichageNavigateur = false; // PCaffi shows the report instead of the 3D view

    // Quarter and structure, on the displayed cubes and the box of the scan.
    void PlacerQuartier();
    void CalculerBordsAretier();
    void ActualiserStructure();
    void BtDeplacerQuartEtudieClick();
    // The structure rebuilt; a field it refuses is said, with the value kept instead.
    void BtRafraichirStructureClick();
    // The four frontier move buttons, told apart by their tag: 1 right, 2 left, 3 up, 4 down.
    void SBtDeplClick(int tag);
    void ConstruireStructure();
    bool StructureConstruite() const;

    // Loads from the fields, efforts in the view's axes, caption and report.
    void CalculerCharges();
    void BtCalculerChargesClick();
    void RedigerResultats();
    // "Niveau d'appui imposé" checked or not; checked, the field starts from the level read.
    void CkBxNivAppuiClick(bool coche);
    // Who the note is for and by whom; a report already written is written again with them.
    void FixerSignataires(const std::string& projet, const std::string& auteur,
                          const std::string& verificateur);
    // The springing level read by the last rebuild, for "Structure"; empty without a structure.
    std::string TexteNiveauAppui() const;
    // The study made again at the other levels and on displaced grids, its range in the report.
    void CalculerSensibilite();
    // The study as JSON, with the scan's figures and the view's turn.
    std::string EtudeEnJson() const;

    // The four steps of the study, pages of PCavct.
    void PCavctChanging();
    void PCavctChange(int t);
    // A change of page as the user asks it; false when refused (forward more than one step).
    bool ChangerOnglet(int t);

private:
    TPileCurseurs curseurs_;
    // What the file named by FichierScan holds beside the points, as the study stood then.
    TEnTeteArkl etudeEnregistree_;
    TEnTeteArkl EnTeteDeTravail();
    bool EcrireScan(const TFormatScan& format, int niveau, const std::string& remplacementAccepte);
    // Whether the save may write `cible`: a file that is neither the scan's own nor the one
    // accepted is only replaced when the user agrees.
    bool RemplacementPermis(const std::string& cible, const std::string& remplacementAccepte);
    // The scan as the study reads it, its index of heights brought up to date.
    TScanEtudie ScanEtudie();
    // The actions at the springing of the current study made on `cubes`, its quarter moved by
    // `deplacement` with them.
    TV3R EtudierVariante(const TListeCubes& cubes, const TV3S& mini, const TV3S& maxi,
                         float tailleCubes, const TV2R& deplacement);
    // The springing level the fields set, none when the level is read from the cloud.
    std::optional<double> NiveauAppuiImpose();
    // Shows the loaded scan, or the empty one a failed load left.
    void TerminerChargement(int niveauAffiche, const std::string& fichier);
};
