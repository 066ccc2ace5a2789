#pragma once
// The studied quarter, stored byte for byte in the binary scan file: its layout is a file format.

#include "geometry/UtilsVect.h"

#include <cstddef>
#include <cstdint>

struct TRectangleModelisation {
    std::int32_t Q1a4 = 0; // studied quarter 1..4; 0 = none placed yet
    std::uint8_t Q13 = 0;  // a Boolean byte nobody sets or reads, kept as found
    std::uint8_t Remplissage[3] = {};
    TVecteur2D Aretier;
    TVecteur2D Bord1;
    TVecteur2D Bord2;
    TV2x2R McbA{};
    TV2R XYcle;
    TV2R XYL1;
    TV2R XYapp;
    TV2R XYL2;

    // Frontier points 1..4: key, middle of side 1, springing, middle of side 2.
    TV2R& XYfront(int n) {
        switch (n) {
        case 1:
            return XYcle;
        case 2:
            return XYL1;
        case 3:
            return XYapp;
        default:
            return XYL2;
        }
    }
    const TV2R& XYfront(int n) const {
        return const_cast<TRectangleModelisation*>(this)->XYfront(n);
    }
};

static_assert(sizeof(TRectangleModelisation) == 200);
static_assert(offsetof(TRectangleModelisation, Q13) == 4);
static_assert(offsetof(TRectangleModelisation, Aretier) == 8);
static_assert(offsetof(TRectangleModelisation, Bord1) == 40);
static_assert(offsetof(TRectangleModelisation, Bord2) == 72);
static_assert(offsetof(TRectangleModelisation, McbA) == 104);
static_assert(offsetof(TRectangleModelisation, XYcle) == 136);
static_assert(offsetof(TRectangleModelisation, XYL1) == 152);
static_assert(offsetof(TRectangleModelisation, XYapp) == 168);
static_assert(offsetof(TRectangleModelisation, XYL2) == 184);
