#pragma once
// The "Sélection" menu's commands on the displayed cubes, the displayed level, the compaction
// and the "Propriétés" text. The workspace's commands of the same names call them on its scan.

#include "scan/UArkaluneGlb.h"
#include "util/Progression.h"

#include <cstdint>
#include <string>

// Shows the cubes of `niveau`, held within 0 .. the scan's deepest level; `entretenir` as for
// TEtatScan::ChoisirNivAffiche.
void FixerNiveauAffiche(TEtatScan& scan, int niveau, const std::function<void()>& entretenir = {});

void Deselectionner(TEtatScan& scan);
// The selected cubes become masked and unselected.
void MasquerSelection(TEtatScan& scan);
// Deleted cubes stay masked.
void Demasquer(TEtatScan& scan);
// Masked cubes become unmasked and the others masked; the selection is dropped.
void InverserMasque(TEtatScan& scan);
// Marks deleted the displayed cubes that carry the state bit `etat` (EtatSelectionne or
// EtatMasque), with the finer cubes below them; the scan then needs saving.
// `entretenir` as for TEtatScan::ChoisirNivAffiche.
void SupprimerAffiches(TEtatScan& scan, std::uint8_t etat,
                       const std::function<void()>& entretenir = {});
// Every cube of the scan loses its states; nothing is left to save.
void AnnulerSuppressions(TEtatScan& scan);
// Destroys the deleted cubes, and the coarser ones left without any finer cube. The displayed
// list names only the remaining cubes afterwards, and the box and the grid are fitted to them
// (AjusterEncombrement). Two steps: the search of the level-0 cubes that hold a deleted cube
// changes nothing and shows its progress through `sortie`, which may stop it; the destruction
// that follows cannot be taken back and shows its progress through `sortieDefinitive`, which
// must not stop it.
void CompacterScan(TEtatScan& scan, const TSortieProgression& sortie,
                   const TSortieProgression& sortieDefinitive);
// The texts of the destruction say that it can no longer be stopped.
inline constexpr const char* SuffixeDefinitif = " (ne peut plus être interrompu)";

std::string Proprietes(const TEtatScan& scan);
