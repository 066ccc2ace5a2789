#include "view/BandeSelection.h"

#include <algorithm>

void TBandeSelection::Rafraichir(TPointEcran p1, TPointEcran p2, std::int32_t modeaff) {
    Visible = true;
    g = std::min(p1.X, p2.X);
    d = std::max(p1.X, p2.X);
    h = std::min(p1.Y, p2.Y);
    b = std::max(p1.Y, p2.Y);
    lrg = d - g;
    ht = b - h;
    p1sel = p1;
    p2sel = p2;
    modeaffi = modeaff;
}
