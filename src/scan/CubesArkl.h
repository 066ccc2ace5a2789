#pragma once
// The cubes of a binary scan file of version 6, after its records: every level down to that of
// the records, as the construction left them, so that the file opens without building anything.
//
// Little-endian, in this order: the number of cubes of each of the five levels (64-bit words, 0
// below the level of the records); the cells of the level-0 cubes (three 32-bit indices from the
// grid's origin, in the grid's order); then for each level from 0, its cubes in path order
// (grouped by parent, in slot order): the level's chain (32-bit places, newest first), the
// counts of points (32 bits), and above the records' level the means and colours (16 bytes, as a
// record) and the numbers of children (8 bits), below level 0 the slots in the parent (8 bits,
// 1 to 125). The records are the deepest level's means and colours, in its chain's order.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

#include <cstdint>
#include <string>

class TFichierLecture;
class TFichierTemporaire;
struct TDimensionsGrille;

class TCubesArkl {
public:
    // Writes the cubes of levels 0 to `niveau` after the records of that level.
    static void Ecrire(const TEtatScan& scan, int niveau, TFichierTemporaire& fichier);
    // Reads into `scan` (empty) the cubes that follow the `nbRecords` records of level `niveau`
    // starting at `debutRecords`, then the records. Every count, place, slot and cell is checked
    // against the file and the grid before it is used: a malformed file is refused.
    static void Lire(TEtatScan& scan, TFichierLecture& fichier, const std::string& chemin,
                     int niveau, std::int64_t nbRecords, std::uint64_t debutRecords,
                     const TDimensionsGrille& grille, const TSortieProgression& sortie);
};
