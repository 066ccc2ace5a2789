// What files do on Windows: drive letters and backslashes, the cleanup on the console's Ctrl-C or
// Ctrl-Break.
#include "support/Temporaire.h"
#include "util/Fichiers.h"
#include "util/NettoyageSignaux.h"
#include "util/NettoyageSignauxSysteme.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(FichiersWindows, CheminAvecLecteurEtBarresInversees) {
    TDossierTemporaire d;
    const std::string dossier = d.Chemin("");
    ASSERT_EQ(dossier.substr(1, 2), ":\\") << dossier; // C:\users\...\Temp\arkalune-test-...
    RemplacerFichier(dossier + "scan.xyz", "1 2 3\r\n");
    std::string obliques = dossier + "scan.xyz";
    for (char& c : obliques)
        if (c == '\\') c = '/';
    TFichierLecture f(obliques);
    EXPECT_EQ(f.Taille(), 7u);
    EXPECT_EQ(d.Noms(), std::vector<std::string>{"scan.xyz"});
}

namespace {

bool SousWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
}

// Runs `arreter` in a child (a death test) that is writing a replacement of "rapport.html" and a
// temporary file with a name outside the ANSI code page: only the old file may be left.
template <class F> void InterrompreEnEcrivant(F arreter) {
    TDossierTemporaire d;
    EcrireFichier(d.Chemin("rapport.html"), "ancien");
    EXPECT_EXIT(
        {
            InstallerNettoyageSurSignaux();
            TFichierTemporaire f(d.Chemin("rapport.html"));
            TFichierProvisoire p(d.Chemin("import 穹顶.tmp"));
            f.Ecrire("nouv", 4);
            arreter();
            Sleep(10000); // the handler's thread ends the process meanwhile
            std::exit(0);
        },
        [](int code) { return unsigned(code) == STATUS_CONTROL_C_EXIT; }, "");
    EXPECT_EQ(d.Noms(), std::vector<std::string>{"rapport.html"});
    EXPECT_EQ(LireFichier(d.Chemin("rapport.html")), "ancien");
}

} // namespace

// What the console's handler does, files still open for writing: removed all the same.
TEST(FichiersWindows, LeNettoyageRetireLesFichiersEnCoursDEcriture) {
    InterrompreEnEcrivant([] {
        SupprimerFichiersInscrits();
        ExitProcess(STATUS_CONTROL_C_EXIT); // as the system's handler does after ours
    });
}

// The real Ctrl-Break, in a console of the child's own so that it reaches the child only.
TEST(FichiersWindows, InterrompuParLaConsoleNeLaisseQueLAncienFichier) {
    if (SousWine()) GTEST_SKIP() << "Wine sans affichage ne transmet pas les évènements de console";
    InterrompreEnEcrivant([] {
        FreeConsole();
        AllocConsole();
        GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0);
    });
}
