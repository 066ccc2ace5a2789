#pragma once
// Temporary files are removed even when the program is stopped by Ctrl-C or SIGTERM: the files
// being written are inscribed here, and a stop signal removes them before the program ends as the
// signal says.

#include <string>

// From then on SIGINT, SIGTERM and SIGHUP remove the inscribed files first.
void InstallerNettoyageSurSignaux();
// Returns false when the table is full (the file is then only removed by its owner).
bool InscrireFichierProvisoire(const std::string& chemin);
void RetirerFichierProvisoire(const std::string& chemin);
