#pragma once
// What the files of util/Fichiers.h ask of the system, one implementation per system
// (Fichiers-Posix.cpp, Fichiers-Windows.cpp). Paths are UTF-8; a failure gives an errno code,
// which ErreurSysteme puts into words.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace systeme {

// The size of the file open in `f`; EISDIR when it is a folder.
int Taille(std::FILE* f, std::uint64_t& taille);
int Aller(std::FILE* f, std::uint64_t position);
// What was written to `f` (already flushed) is on the disk.
int Synchroniser(std::FILE* f);

// A file "<prefixe>" followed by six characters of its own, created exclusively (an existing
// file is never opened) and open for writing in `f`; `droits` as in TFichierProvisoire.
int CreerExclusif(const std::string& prefixe, std::optional<unsigned> droits, std::string& chemin,
                  std::FILE*& f);
void Supprimer(const std::string& chemin);

// The file that replacing `chemin` writes: symbolic links followed (even a link to nothing).
int CibleReelle(const std::string& chemin, std::string& cible);
struct TEtatCible {
    bool existe = false;
    bool ordinaire = false;
    unsigned droits = 0; // those the replacing file keeps
};
TEtatCible EtatCible(const std::string& chemin);
// `source` takes the place of `cible` in one step, and that is on the disk when it returns.
int Remplacer(const std::string& source, const std::string& cible);

} // namespace systeme
