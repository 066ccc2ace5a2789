#include "util/NettoyageSignaux.h"
#include "util/NettoyageSignauxSysteme.h"

#include <windows.h>

namespace {

// Called by the console on a thread of its own for Ctrl-C, Ctrl-Break, the console closed, the
// session's end and the system's shutdown.
BOOL WINAPI NettoyerPuisTerminer(DWORD) {
    SupprimerFichiersInscrits();
    return FALSE; // the next handler, the system's, ends the process as it would have
}

} // namespace

void SupprimerFichierInscrit(const char* chemin) {
    // The table's paths are shorter than 4096 bytes, so no longer in UTF-16 units.
    wchar_t large[4096];
    if (MultiByteToWideChar(CP_UTF8, 0, chemin, -1, large, 4096) > 0) DeleteFileW(large);
}

// A Ctrl-C ignored at start (SetConsoleCtrlHandler(NULL, TRUE) inherited) never reaches the
// handler: it stays ignored.
void InstallerNettoyageSurSignaux() {
    SetConsoleCtrlHandler(NettoyerPuisTerminer, TRUE);
}

void PatienterUneMilliseconde() {
    Sleep(1);
}

// The console's handler runs on a thread of its own: no signal to hold back, only the wait.
TCreationProvisoire::TCreationProvisoire() {
    if (!CommencerCreation())
        for (;;)
            Sleep(INFINITE);
}

TCreationProvisoire::~TCreationProvisoire() {
    FinirCreation();
}
