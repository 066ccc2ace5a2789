#pragma once
// Between the table of inscribed files (NettoyageSignaux.cpp) and the system's way of being told
// to stop (NettoyageSignaux-Posix.cpp: signals; NettoyageSignaux-Windows.cpp: the console's
// control handler).

// Removes every inscribed file, once the creations in progress are inscribed, and lets no new
// one begin; safe inside a signal handler (no allocation, no lock).
void SupprimerFichiersInscrits();
// Counts a temporary file's creation as in progress; false, counting nothing, once the program is
// ending: no file may then be created.
bool CommencerCreation();
void FinirCreation();
// Safe inside a signal handler.
void PatienterUneMilliseconde();
// Removes one file by its UTF-8 path, under the same constraints.
void SupprimerFichierInscrit(const char* chemin);
