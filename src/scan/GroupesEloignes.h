#pragma once
// Two exports put end to end, one in a local frame and one in a national grid, make one box of
// thousands of kilometres: no shift serves both, and a study of that box means nothing. Such a
// survey is refused, naming its groups. Stray points (a "0 0 0" return) are no group of their
// own: a group counts from the stray-point share on.

#include "geometry/UtilsVect.h"
#include "scan/Decalage.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// An empty band this wide on an axis separates two groups: a vault's survey, surroundings
// included, spans a few hundred metres.
inline constexpr std::int64_t EcartEntreGroupes = 1000;

class TGroupesEloignes {
public:
    // From every coordinate's counts on each axis; `nbPoints` the survey's points.
    TGroupesEloignes(const std::array<TDecalageAxe, 3>& axes, std::int64_t nbPoints);

    // Whether the survey may hold several groups: only then must its points be counted by group
    // (two groups differ on an axis where both hold more than the stray-point share).
    bool APreciser() const { return aPreciser_; }
    void Compter(const TV3R& p);
    // Throws, naming the groups, when more than one holds more than the stray-point share.
    void RefuserSiPlusieurs() const;

private:
    struct TGroupe {
        std::int64_t Nb = 0;
        TV3R Min, Max;
    };
    std::array<std::vector<TPlageAxe>, 3> plages_;
    std::int64_t nbPoints_;
    bool aPreciser_ = false;
    // By the stretch of each axis the group lies in.
    std::map<std::array<std::size_t, 3>, TGroupe> groupes_;
};
