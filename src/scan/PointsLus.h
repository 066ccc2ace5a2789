#pragma once
// What a survey reader gives the import: points in the file's own frame, in batches.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// One point as read: its coordinates at 64 bits in the file's frame (before any shift), its
// colour as 8-bit red, green, blue, the fourth byte 0 (all 0 when the file has no colour).
struct TPointLu {
    TV3R Coo;
    TV4By Couleur{};
    // A colour stored on 16 bits a channel has its high bytes in Couleur and its low ones here:
    // 8-bit values kept in 16-bit fields are told from true 16-bit ones only by all the points
    // of the file, which have then no high byte (see CouleursRetenues). 0 from the readers of
    // 8-bit colours.
    std::array<std::uint8_t, 3> CouleurPoidsFaible{};
};

// Whether a point of the file has a high byte in its colour: then each point's colour is its high
// bytes, else its low bytes. The same whatever the order of the points.
class TCouleursSeizeBits {
public:
    void Ajouter(const TPointLu& p) {
        poidsFort_ = poidsFort_ || (p.Couleur[0] | p.Couleur[1] | p.Couleur[2]) != 0;
    }
    TV4By Couleur(const TV4By& poidsFort, const std::array<std::uint8_t, 3>& poidsFaible) const {
        return poidsFort_ ? poidsFort : TV4By{poidsFaible[0], poidsFaible[1], poidsFaible[2], 0};
    }

private:
    bool poidsFort_ = false;
};

// A rectangle in plan, in the survey's own coordinates, bounds included: the part of a survey
// (one bay of a building) that a load keeps, at any height.
struct TZonePlan {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // X1 <= X2, Y1 <= Y2
    bool Contient(const TV3R& p) const { return p.X >= X1 && p.X <= X2 && p.Y >= Y1 && p.Y <= Y2; }
};

// Receives the points in batches of at most RecordsParLot, in file order. It may throw (the
// user's cancellation, too many points): the reader then stops and lets the exception through.
using TRecevoirPointsLus = std::function<void(const TPointLu* lot, std::size_t n)>;

// What a reader reports beside its points.
struct TBilanLecture {
    // Lines or records that were not points (malformed, flagged invalid, ...).
    std::int64_t Ignores = 0;
    // The status text for them, complete and in French ("12 lignes ignorées (ce ne sont pas
    // des points X Y Z)"); empty when none was ignored.
    std::string Texte;
    // The file stores its coordinates as 32-bit reals: far from the origin, they lost their
    // precision before they were read.
    bool Reels32Bits = false;
};

// A reader: opens `chemin`, reads and validates its header (a refused file throws EErreur with
// a French message naming the file and the fault, before any point is given), then streams
// every point to `recevoir`, showing its progress through `sortie`.
using TLecteurPoints = TBilanLecture (*)(const std::string& chemin,
                                         const TRecevoirPointsLus& recevoir,
                                         const TSortieProgression& sortie);
