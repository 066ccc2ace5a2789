#pragma once
// CRC-32C (Castagnoli polynomial, reflected, initial value and final xor all ones).

#include <cstddef>
#include <cstdint>

std::uint32_t Crc32c(const void* donnees, std::size_t n);
