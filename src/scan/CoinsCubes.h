#pragma once
// The arithmetic that places a point in a cube's children and gives a child its corner. The
// corners are rounded to 32 bits at every level, so a point's slots depend on these exact steps:
// the construction of the grid and the corners read back both go through here.

#include "scan/UArkaluneGlb.h"

#include <array>
#include <cstdint>

inline TV3S CoinCellule(const std::array<std::int32_t, 3>& orig, std::int32_t i, std::int32_t j,
                        std::int32_t k) {
    return {static_cast<float>(orig[0] + i), static_cast<float>(orig[1] + j),
            static_cast<float>(orig[2] + k)};
}

// The slice, 0 to 4, of a coordinate in a cube whose corner is `ori`, for children of edge `pas`.
inline int IndiceEnfant(float coo, float ori, double pas) {
    const double q = (double(coo) - double(ori)) / pas;
    // A point on the upper face goes into the last slice; the test also keeps NaN out.
    if (!(q < 4.0)) return 4;
    if (!(q > 0.0)) return 0;
    return static_cast<int>(q);
}

// The corner of the child (i, j, k) of a cube of level `niveauParent` whose corner is `coin`.
inline TV3S CoinEnfant(const TV3S& coin, int niveauParent, int i, int j, int k) {
    const double pas = TailleNiv[std::size_t(niveauParent) + 1];
    return {static_cast<float>(double(coin.X) + i * pas),
            static_cast<float>(double(coin.Y) + j * pas),
            static_cast<float>(double(coin.Z) + k * pas)};
}

// The slot (i*25 + j*5 + k) of the child of a cube of level `niveauParent`, corner `coin`, that
// holds the point; `coin` becomes that child's corner.
inline int SlotEnfant(TV3S& coin, int niveauParent, float x, float y, float z) {
    const double pas = TailleNiv[std::size_t(niveauParent) + 1];
    const int i = IndiceEnfant(x, coin.X, pas);
    const int j = IndiceEnfant(y, coin.Y, pas);
    const int k = IndiceEnfant(z, coin.Z, pas);
    coin = CoinEnfant(coin, niveauParent, i, j, k);
    return i * 25 + j * 5 + k;
}
