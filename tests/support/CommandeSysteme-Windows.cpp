#include "support/CommandeSysteme.h"
#include "support/LancerCalcul.h"
#include "support/Temporaire.h"
#include "util/Fichiers.h"
#include "util/TexteWindows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <windows.h>

std::string ProgrammeDeLaConstruction(const std::string& chemin) {
    wchar_t programme[MAX_PATH];
    GetModuleFileNameW(nullptr, programme, MAX_PATH);
    return TexteChemin(CheminFs(DepuisLarge(programme)).parent_path() / "../.." /
                       CheminFs(chemin + ".exe"));
}

// A path given as "/dossier/..." (ctest's, on the Linux side of Wine) becomes one with a drive
// letter, which cmd.exe takes as a program's name.
std::string ProgrammeEnLigne(const std::string& chemin) {
    wchar_t complet[4096];
    const DWORD n = GetFullPathNameW(VersLarge(chemin).c_str(), 4096, complet, nullptr);
    return "\"" + (n > 0 && n < 4096 ? DepuisLarge(complet) : chemin) + "\"";
}

TResultatCommande LancerCommande(const std::string& ligne) {
    TDossierTemporaire dossier;
    const std::string erreurs = dossier.Chemin("stderr");
    // The tests quote as a POSIX shell does; cmd.exe knows double quotes only. The whole line
    // in one more pair of quotes, which cmd.exe removes before it reads the line.
    std::string commande = ligne;
    std::replace(commande.begin(), commande.end(), '\'', '"');
    commande = "\"" + commande + " 2>\"" + erreurs + "\"\"";
    TResultatCommande r;
    FILE* p = _wpopen(VersLarge(commande).c_str(), L"rb");
    if (!p) return r;
    char tampon[4096];
    std::size_t n;
    while ((n = std::fread(tampon, 1, sizeof tampon, p)) > 0)
        r.sortie.append(tampon, n);
    r.code = _pclose(p);
    r.erreurs = LireFichier(erreurs);
    return r;
}

void FixerEnvironnement(const char* nom, const std::optional<std::string>& valeur) {
    _putenv_s(nom, valeur ? valeur->c_str() : ""); // "" removes it
}
