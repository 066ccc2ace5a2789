#pragma once
// Points far from the main body of a survey (a "0 0 0" return, a stray echo kilometres away):
// kept in the scan, but left out of the box that places the quarter and frames the view, so
// that one of them cannot move the study off the vault.

#include "scan/UArkaluneGlb.h"

#include <cstdint>
#include <string>
#include <vector>

// Metres added on every side of the main body's box before a point counts as set apart.
inline constexpr std::int32_t MargeCorps = 5;
// At most one point in this many is set apart: beyond, the other groups are surveyed parts in
// their own right (a second bay, a tiny survey of a few scattered points), not stray returns.
inline constexpr std::int64_t PartMaxEcartes = 100;

struct TCorpsDuLeve {
    // The box of the points that are not set apart; the scan's own box when none is.
    TV3S Min, Max;
    std::int64_t NbEcartes = 0;
    // The first few set apart, in the survey's own coordinates.
    std::vector<TV3R> Premiers;
};

// The main body is the largest group of occupied level-0 cells that touch (faces, edges or
// corners), by cells, then by points; its box widened by MargeCorps holds every point that is
// not set apart. None is set apart when more than one in PartMaxEcartes would be.
TCorpsDuLeve CorpsDuLeve(const TEtatScan& scan);

// "2 points écartés du corps du relevé, hors de la boîte de l'étude : (x, y, z), ..."; empty when
// none is.
std::string TexteEcartes(const TCorpsDuLeve& corps);
