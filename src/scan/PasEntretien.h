#pragma once
// How often a long walk over the cubes lets the window serve its events: the callbacks
// `entretenir` of the cube store's walks are called after each PasEntretien cubes, so that a
// progress can count them.

#include <cstddef>

inline constexpr std::size_t PasEntretien = 4096;
