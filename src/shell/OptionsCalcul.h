#pragma once
// The options of the batch command `arkalune-calcul`, in the order its usage text gives them:
// the synopsis of that text and of the help is written from them.

#include <cstddef>
#include <span>
#include <string>

struct TOptionCalcul {
    const char* Nom;    // "--niveau"
    const char* Valeur; // what follows it ("N"), empty for a switch
};

std::span<const TOptionCalcul> OptionsCalcul();

// `debut` then "arkalune-calcul FICHIER [--niveau N] ...", cut into lines of at most `largeur`
// characters between options, each after the first starting with `retrait` spaces; no final
// newline.
std::string SynopsisCalcul(const std::string& debut, std::size_t largeur, std::size_t retrait);
