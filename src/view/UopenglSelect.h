#pragma once
// The rubber band over the 3D view while the left button drags. The view shows its last picture
// and draws the band over it, so that following the pointer never draws the 3D scene again.

#include "view/BandeSelection.h"

class TFSelWindow {
public:
    void Rafraichir(const TBandeSelection& bande) { bande_ = bande; }
    bool Visible() const { return bande_.Visible; }

    // With the window's own buffer bound: the band in dashed red over a view of `largeur` x
    // `hauteur` view pixels, `ratio` device pixels each. Leaves the pipeline's state as it was.
    void Tracer(int largeur, int hauteur, double ratio) const;

private:
    TBandeSelection bande_;
};
