#pragma once
// The camera: framing, orientation, the matrices of each drawing, zoom and pan, all on the view
// state the last drawing left. Sizes and positions in view pixels, y downwards unless stated.

#include "view/EtatVue.h"

#include <cstdint>
#include <string>
#include <string_view>

// The box mini..maxi seen whole: turning about its middle, its scale from half its diagonal; the
// next drawing fits the box in the view (ToutVoir).
void CadrerVue(TEtatVue& vue, const TV3S& mini, const TV3S& maxi);
// The framed box back in the middle of the view, fitted at the next drawing, whatever the
// orientation and the view's proportions.
void ToutVoir(TEtatVue& vue);

// The views along the axes: 1 from the front, 2 from the side, 3 from above; other codes leave
// the angles.
void OrienterCamera(TEtatVue& vue, int code);

// The display rotation about Z from the text of its field: blanks around the number are
// tolerated; anything else that is not a number gives 0, and so does a number too large for a
// real (an infinite angle would leave the view and the frontier moves without a direction).
double LireAngleRotZ(std::string_view texte);
// The angle as its field shows it: the exact value, so that reading the field back (a second
// "Actualiser") gives the same angle.
std::string TexteAngleRotZ(double angleDeg);
// The plan rotation and the axes symbol's matrix that follow from AngRotZdeg.
void AppliquerRotZ(TEtatVue& vue);

// Brings the angles into one turn and writes the camera's rotation into `matrice`.
void CalculerMatriceRotation(TEtatVue& vue, TmatGL16& matrice);
// Viewport, scale, projection and model-view matrices of a drawing in a view of that size.
void PreparerCamera(TEtatVue& vue, std::int32_t largeur, std::int32_t hauteur);

// Moves the rotation centre so that the cloud follows a drag of (dx, dy) pixels.
void DeplacerCentre(TEtatVue& vue, std::int32_t dx, std::int32_t dy);
// Turns the camera for a drag of (dx, dy) pixels: 90 degrees for the whole view's size.
void TournerCamera(TEtatVue& vue, std::int32_t dx, std::int32_t dy);
// One step of the wheel (only the sign of `delta` counts; `rapide`: the larger step), about the
// cloud point under `pointeur` (relative to the view, even when outside it). False when nothing
// changed: no vertical step, or already at the zoom's floor.
bool ZoomerMolette(TEtatVue& vue, std::int32_t delta, TPointEcran pointeur, bool rapide);
// The "+" and "-" buttons: a step of a quarter about the view centre, "-" down to the wheel's
// floor.
void ZoomerBouton(TEtatVue& vue, bool plus);
