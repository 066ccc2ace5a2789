#pragma once
// A stable sort of 64-bit keys carrying 32-bit values, by their low `bits` bits (the others are
// 0): equal keys keep their order, in linear time, the keys cut in `parties` parts done at once.

#include "util/EnParties.h"
#include "util/GrandesPages.h"

#include <cstdint>
#include <functional>

// Told often (between slices of a few hundred thousand keys) how much of the sort is done:
// `fait` units of `total`; may throw to stop the sort, which then leaves the keys and values in
// some order of its own.
using TAvancementTri = std::function<void(std::int64_t fait, std::int64_t total)>;

void TrierParCle(TGrandVecteur<std::uint64_t>& cles, TGrandVecteur<std::uint32_t>& valeurs,
                 int bits, const TAvancementTri& avancer, int parties = PartiesParDefaut());
