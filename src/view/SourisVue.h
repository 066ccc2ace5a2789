#pragma once
// The mouse over the view: rotation and pan with the middle button, the rubber band with the left
// one, and at each release either the rectangle's selection or the designation of a point.

#include "scan/ListeCubes.h"
#include "scan/UArkaluneGlb.h"
#include "view/BandeSelection.h"
#include "view/EtatVue.h"

#include <vector>

// A button pressed at p: the anchor of the drag.
void CommencerGlissement(TEtatVue& vue, TPointEcran p);
// The pointer at p with `boutons` held. Nothing until it has gone the drag distance from the
// press; then the middle button turns the camera, or pans it when `decaler` (shift held), by
// steps of at least 10 pixels from the anchor; otherwise the left one stretches the rubber band
// from the anchor. A position already seen does nothing. True when the view must be drawn again.
bool GlisserSouris(TEtatVue& vue, TBandeSelection& bande, TBoutonsSouris boutons, TPointEcran p,
                   bool decaler);
// A release at p while the rubber band shows: the band goes, the cubes whose picture lies in it
// are selected and the points must be rebuilt. False, with nothing done, when no band shows.
bool TerminerBande(TEtatVue& vue, TBandeSelection& bande, const TListeCubes& cubes, TPointEcran p);

// Selects the visible cubes whose picture, through the last drawing's matrices, lies in the
// rectangle of corners a and b (edges included).
void SelectionnerDansRectangle(const TEtatVue& vue, TPointEcran a, TPointEcran b,
                               const TListeCubes& cubes);
// The drawn cube whose picture is nearest to p within 4.5 pixels on each axis, or none; among
// those within a pixel of p, the frontmost: the one the picture shows there.
const TCube* CubeProche(const TEtatVue& vue, const TListeCubes& cubes, TPointEcran p);
