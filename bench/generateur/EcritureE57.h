#pragma once
// An E57 writer for the generator and the tests: one or several scans, each with its pose, its
// coordinates as 32- or 64-bit reals or as scaled integers, colours if asked, and records flagged
// invalid if asked. Points are streamed, never held.

#include "geometry/UtilsVect.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TPointE57 {
    TV3R P; // in the scan's own frame
    TV4By Couleur{};
    bool Invalide = false; // written with cartesianInvalidState 2
};
using TDonnerPointE57 = std::function<void(const TPointE57&)>;

enum class TCodageE57Ecrit { Reel32, Reel64, EntierEchelonne };

struct TScanE57Ecrit {
    TCodageE57Ecrit Codage = TCodageE57Ecrit::Reel64;
    // Scaled integers: the step of the coordinates (their width in bits follows from the
    // extent of the points).
    double Echelle = 1e-4;
    bool Couleur = true;
    // A cartesianInvalidState field is written (the points' Invalide flags).
    bool EtatInvalide = false;
    std::array<double, 4> Rotation{1, 0, 0, 0}; // w, x, y, z
    TV3R Translation{};
    // Records per data packet (a packet holds at most 64 KiB). With a number that is not a
    // multiple of 8, values of odd widths are cut across packets, as the format allows.
    std::uint64_t RecordsParPaquet = 2048;
    // Gives the scan's points, the same each time: it is called twice for scaled integers.
    std::function<void(const TDonnerPointE57&)> Points;
};

// Writes the file through a temporary one (a failed write leaves a previous file as it was).
// Throws EErreur with a French message.
void EcrireE57(const std::string& chemin, const std::vector<TScanE57Ecrit>& scans);
