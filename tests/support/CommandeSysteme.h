#pragma once
// How the tests start a program through the system's shell (CommandeSysteme-Posix.cpp,
// CommandeSysteme-Windows.cpp); LancerCommande is declared in LancerCalcul.h.

#include <string>

// A program of the build, by its path from the build's root ("app/arkalune-calcul").
std::string ProgrammeDeLaConstruction(const std::string& chemin);
// The program's path as the first word of a shell command line.
std::string ProgrammeEnLigne(const std::string& chemin);
