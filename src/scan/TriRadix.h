#pragma once
// A stable sort of 64-bit keys carrying 32-bit values, by their low `bits` bits (the others are
// 0): equal keys keep their order, in linear time.

#include <cstdint>
#include <vector>

void TrierParCle(std::vector<std::uint64_t>& cles, std::vector<std::uint32_t>& valeurs, int bits);
