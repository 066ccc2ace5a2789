#pragma once
// The rubber band laid over the view while the left button drags: what the overlay shows.

#include "view/EtatVue.h"

#include <cstdint>

struct TBandeSelection {
    bool Visible = false;
    // Edges in view pixels, y downwards: g left, d right, h top, b bottom.
    std::int32_t g = 0, d = 0, h = 0, b = 0;
    std::int32_t lrg = 0, ht = 0;
    // 0: the rectangle, 1: the segment from p1sel to p2sel, other values: nothing.
    std::int32_t modeaffi = 0;
    TPointEcran p1sel, p2sel; // the corners in the order received

    void Rafraichir(TPointEcran p1, TPointEcran p2, std::int32_t modeaff);
    void Masquer() { Visible = false; }
};
