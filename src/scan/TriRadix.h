#pragma once
// A stable sort of 64-bit keys carrying 32-bit values, by their low `bits` bits (the others are
// 0): equal keys keep their order, in linear time, on two threads.

#include <cstdint>
#include <functional>
#include <vector>

// Told, between the steps of the sort, how much of it is done, in hundredths; may throw to stop
// the sort, which then leaves the keys and values in some order of its own.
using TAvancementTri = std::function<void(int centiemes)>;

void TrierParCle(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& valeurs, int bits,
                 const TAvancementTri& avancer);
