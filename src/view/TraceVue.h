#pragma once
// What each drawing of the view shows: the point batch of the displayed level (kept until it is
// declared stale), the study's overlay for the active tab, and the axes symbol.

#include "geometry/RectangleModelisation.h"
#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"
#include "vault/StructureVoute.h"
#include "view/EtatVue.h"
#include "view/SceneVue.h"

#include <cstdint>
#include <vector>

// How the points of the displayed level are shown.
struct TOptionsPoints {
    std::int32_t Onglet = 0; // active tab: 0 Préparation .. 3 Résultats
    bool VoirPoints = true;
    std::int32_t TaillePointsIndex = 0; // item of the point-size list, "1" to "4"
    double MasseVolRemplissage = 0;     // daN/m³, 0: no fill
    double NiveauRemplissage = 0;       // top of the fill above the box's top, metres
    // Each cube in its mean colour rather than in black; the selection and the fill keep theirs.
    bool CouleursReleve = false;
};

// The batch of the visible cubes among `cubes`, coloured for the tab: the selection in red on the
// first tab, the points below the fill in cyan on the loads tab, the others in black or in their
// mean colour (never quite the selection's red, so that red always means selected). `zHaut` is the
// top of the scan's box. Its texts go to `afficher`, which may stop it by throwing. Its Version is
// left at 0.
TLotPoints ConstruireLotPoints(const TListeCubes& cubes, float zHaut, const TOptionsPoints& options,
                               const TSortieProgression& afficher);

// The parts of the study the overlay draws.
struct TEtudeTracee {
    const TRectangleModelisation& RecModl;
    const TQuartier& Quartier1;
    const TQuartier& Quartier2;
    const TArcAretier& ArcAretier;
    std::int32_t NbArcsVoute = 0;   // arcs drawn per half-quarter
    std::int32_t PtFrontSel1a4 = 0; // selected frontier point, 0: none
};

// The overlay of tab `onglet`: on the structure tab the quarter's frontier and the rib's edges,
// drawn above the box's top `zHaut`; on every tab after the first the arcs.
std::vector<TTrace> TracesEtude(const TEtudeTracee& etude, float zHaut, std::int32_t onglet);

// The viewport and matrices of the camera's last preparation, on a white background.
void PoserCamera(TSceneVue& scene, const TEtatVue& vue);
// The axes symbol for the view's size and rotation; its arrows are rebuilt, with a new Version,
// only when the view declared them stale.
void ActualiserRepere(TSymboleAxes& repere, TEtatVue& vue);
