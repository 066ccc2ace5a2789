#pragma once
// What the tests ask of the system (CommandeSysteme-Posix.cpp, CommandeSysteme-Windows.cpp):
// starting a program through its shell (LancerCommande is declared in LancerCalcul.h), its
// environment variables.

#include <optional>
#include <string>

#ifdef _WIN32
inline constexpr bool SousWindows = true;
#else
inline constexpr bool SousWindows = false;
#endif

// A program of the build, by its path from the build's root ("app/arkalune-calcul").
std::string ProgrammeDeLaConstruction(const std::string& chemin);
// The program's path as the first word of a shell command line.
std::string ProgrammeEnLigne(const std::string& chemin);
// `valeur` given to the variable `nom`; none removes it.
void FixerEnvironnement(const char* nom, const std::optional<std::string>& valeur);
