#pragma once
// Between the table of inscribed files (NettoyageSignaux.cpp) and the system's way of being told
// to stop (NettoyageSignaux-Posix.cpp: signals; NettoyageSignaux-Windows.cpp: the console's
// control handler).

// Removes every inscribed file; safe inside a signal handler (no allocation, no lock).
void SupprimerFichiersInscrits();
// Removes one file by its UTF-8 path, under the same constraints.
void SupprimerFichierInscrit(const char* chemin);
