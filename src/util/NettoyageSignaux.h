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

// While one lives, a stop signal waits before removing the inscribed files: a file is created and
// inscribed under its protection, so that no signal finds it on the disk but not yet inscribed.
// Where there are signals, the stop signals are held back in the creating thread meanwhile (its
// handler would wait for itself); another thread's handler waits for the inscription. Once the
// program is ending, the thread that would create a file waits for the end instead.
class TCreationProvisoire {
public:
    TCreationProvisoire();
    ~TCreationProvisoire();
    TCreationProvisoire(const TCreationProvisoire&) = delete;
    TCreationProvisoire& operator=(const TCreationProvisoire&) = delete;

private:
    // The thread's signal mask as it was, where the system has one (a sigset_t).
    alignas(8) unsigned char signauxAvant_[128] = {};
};
