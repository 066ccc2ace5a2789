#pragma once
// The study of one quarter of a ribbed vault: where the quarter lies in plan, its structure of
// arcs read from the point cloud, the loads they carry, the actions at the rib's springing and
// the report. It sees the scan only as the displayed cubes and the bounding box, the view only
// as its rotation about Z, the fields only as the values they give.

#include "geometry/RectangleModelisation.h"
#include "scan/Decalage.h"
#include "scan/ListeCubes.h"
#include "vault/FigureQuart.h"
#include "vault/Sensibilite.h"
#include "vault/StructureVoute.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TCube;
class TReleveHauteurs;

// What the study reads of the scan: heights from the displayed cubes (through `Releve`, their
// index), the placement of a quarter from the bounding box.
struct TScanEtudie {
    const TListeCubes& CubesAffiches;
    TReleveHauteurs& Releve;
    const TV3S& CooMin;
    const TV3S& CooMax;
    float TailleCubes; // edge of the displayed cubes, metres
};

// How the heights of the last rebuild were read from the cloud.
struct TLectureHauteurs {
    std::int32_t NbHauteurs = 0;
    // Read from a cube farther than DistanceLointaine from their point: no survey under it.
    std::int32_t NbLointaines = 0;
    double DistanceLointaine = 0; // metres
    // The rib's springing height read from the cloud, relative to the key.
    double NiveauAppuiLu = 0;
    // What the heights of the cubes nearest in plan to the springing points span: a pier or a
    // wall under the springing, whose top the reading may miss.
    float EtendueAppui = 0;
    bool AppuiAmbigu() const;
};

// The loads as the user gives them.
struct TChargesEtude {
    double MasseLinAretier = 0;     // daN/m
    double MasseSurfVoute = 0;      // daN/m²
    double MasseVolRemplissage = 0; // daN/m³, 0: no fill
    double NiveauRemplissage = 0;   // top of the fill above the key, metres
};

// What the report says of the calculation beside the study itself: where the points came from,
// when, at which level of definition and in which axes the horizontal actions are given.
struct TContexteRapport {
    std::string FichierScan; // file name, without its folder
    std::string Date;        // as the report shows it
    std::int32_t NivAffiche = 0;
    double AngRotZdeg = 0; // the view's turn about Z: FX and FY are in its axes
    TDecalage Decalage{};  // the survey's shift: the points are given in the survey's frame
    // Who the note is for and by whom, as the user keeps them in the settings; empty: not said.
    std::string Projet, Auteur, Verificateur;
};

// The loads last computed with are part of the study (report, JSON, fill shown in the view).
class TEtudeVoute : public TChargesEtude {
public:
    TRectangleModelisation RecModl;
    float LargeurAretierM = 0.2f; // width of the rib, metres
    std::int32_t NbArcsVoute = 5; // arcs per half-quarter
    TQuartier Quartier1;          // side of XYL1, on Bord1: the "right" arcs
    TQuartier Quartier2;          // side of XYL2, on Bord2: the "left" arcs
    TArcAretier ArcAretier;
    float Z0 = 0;              // height of the key
    TV3R EffortsSurAppui;      // at the rib's springing, view axes, daN (Z: weight, down)
    TV3R EffortsSurAppuiNuage; // the same in the point cloud's axes
    TContexteRapport Contexte; // set by the caller before a calculation
    // The rib's springing level relative to the key when the engineer sets it; read from the
    // cloud otherwise.
    std::optional<double> NiveauAppuiImpose;
    TLectureHauteurs Lecture;
    // The same study at other levels and on displaced grids, when asked after a calculation;
    // forgotten by the next one.
    std::optional<TSensibilite> Sensibilite;
    // False when the rib has no rise (below 1 mm): its thrust, hence X and Y, cannot be computed.
    bool AppuiCalculable = true;
    std::string LbResultats = " ";
    std::string ResulNdC;   // HTML text of the last report
    TFigureQuart FigureNdC; // its figure, which the window and the printed report paint

    // Quarter in plan. Placing refuses when no cube is displayed, before changing anything.
    // The frontier points of quarter RecModl.Q1a4 from the box.
    void PlacerQuartier(const TScanEtudie& scan);
    // The next quarter placed: 1 after 4, and after any number outside 1..4.
    void QuartierSuivant(const TScanEtudie& scan);
    // The rib frame and its two edges from the frontier points and LargeurAretierM.
    void CalculerBordsAretier();
    // Frontier point 1..4 moved one step in the view's axes (sens 1 right, 2 left, 3 up,
    // 4 down; the long step with `grandPas`), the edges following at once, the arcs at the next
    // rebuild. False when nothing moved (no such point or direction).
    bool DeplacerPointFrontiere(std::int32_t point1a4, int sens, bool grandPas,
                                const TV2x2R& McbRotZ2);

    // The scan moved into a new frame, `nouveauRepere` giving a plan point's place in it: the
    // quarter goes with it, to the same place on the vault. The structure and the results, made
    // in the old frame, are forgotten until the next rebuild.
    void ChangerDeRepere(const std::function<TV2R(const TV2R&)>& nouveauRepere);

    // Structure. Both return the warnings to show (a direction that is not defined).
    // Rebuilt with the width (cm) and the number of arcs the fields give when they hold a valid
    // value; a refused rebuild keeps the previous structure and parameters.
    std::vector<std::string> ActualiserStructure(const TScanEtudie& scan,
                                                 std::optional<std::int32_t> largeurAretierCm,
                                                 std::optional<std::int32_t> nbArcs);
    std::vector<std::string> ConstruireStructure(const TScanEtudie& scan);
    // Half-quarter Q between edge B and side middle L, and the rib through the arcs' ends; the
    // heights from `releve`, the displayed cubes as the rebuild found them, counted in Lecture.
    void DecomposerQuartier(const TVecteur2D& B, const TV2R& L, TQuartier& Q,
                            TReleveHauteurs& releve);
    void ConstruireArcAretier(TReleveHauteurs& releve, float tailleCubes);
    float LireHauteur(TReleveHauteurs& releve, const TV2R& p);
    // The arcs agree with NbArcsVoute: a calculation may run on them.
    bool StructureConstruite() const;

    // Loads, actions at the springing (turned into the view's axes), caption and report.
    void CalculerCharges(const TChargesEtude& charges, const TV2x2R& McbRotZ2);
    // A calculation refused: the caption and the report are emptied, so that none is shown that
    // the current inputs did not give, and `raison` leaves as an error.
    [[noreturn]] void RefuserCalcul(const std::string& raison);
    // The same for a quarter that holds no survey (EQuartierVide).
    [[noreturn]] void RefuserQuartier(const std::string& raison);
    void OublierResultats();
    // Arc `index` of Q loaded with the study's loads and key height.
    void ChargerArc(TQuartier& Q, int index) const;
    void CalculerAppuiAretier(const TV2x2R& McbRotZ2);
    // Every effort the caption and the report show is a finite number.
    bool ResultatsFinis() const;
    void RedigerResultats();
};
