#pragma once
// Feeding arbitrary bytes to the real loader: they become a scan file in a private folder,
// which a workspace on the scripted platform then opens.

#include <cstddef>
#include <cstdint>

// `extension` is one the table of formats knows (".xyz", ".las", ...). Some inputs are also
// cancelled during the load. Aborts when the loader leaves an inconsistent workspace or a stray
// file behind.
void ChargerOctets(const char* extension, const std::uint8_t* donnees, std::size_t taille);
