// arkalune-calcul: the program's road without a window, for batch work and end-to-end tests.
// Exit status: 0 done, 1 a file could not be loaded or written, 2 bad usage.

#include "PlateformeConsole.h"
#include "shell/TEspaceTravail.h"
#include "util/Format.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int Reussite = 0, EchecFichier = 1, EchecUsage = 2;

const char* const Usage =
    "usage : arkalune-calcul FICHIER [--niveau N] [--proprietes] [--enregistrer F]\n"
    "                        [--niveau-enregistre L]\n"
    "  FICHIER               scan à charger (.xyz ou .arkl)\n"
    "  --niveau N            niveau affiché, 0 à 4 (2 par défaut)\n"
    "  --proprietes          écrit les propriétés du scan\n"
    "  --enregistrer F       enregistre le scan dans F (.arkl ou .xyz)\n"
    "  --niveau-enregistre L niveau dont les cubes sont enregistrés (le plus fin par défaut)\n";

struct TOptions {
    std::string fichier;
    std::optional<int> niveau;
    bool proprietes = false;
    std::optional<std::string> enregistrer;
    std::optional<int> niveauEnregistre;
};

struct EUsage {
    std::string message;
};

int LireNiveau(const std::string& option, const std::string& texte) {
    std::int64_t v = 0;
    if (!LireEntier(texte, v) || v < 0 || v > 4)
        throw EUsage{"valeur invalide pour " + option + " : « " + texte +
                     " » (entier de 0 à 4 attendu)"};
    return int(v);
}

TOptions LireOptions(const std::vector<std::string>& args) {
    TOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto valeur = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw EUsage{"l'option " + a + " attend une valeur"};
            return args[++i];
        };
        if (a == "--niveau")
            o.niveau = LireNiveau(a, valeur());
        else if (a == "--proprietes")
            o.proprietes = true;
        else if (a == "--enregistrer")
            o.enregistrer = valeur();
        else if (a == "--niveau-enregistre")
            o.niveauEnregistre = LireNiveau(a, valeur());
        else if (a.size() > 1 && a[0] == '-')
            throw EUsage{"option inconnue : " + a};
        else if (o.fichier.empty())
            o.fichier = a;
        else
            throw EUsage{"un seul fichier à charger : « " + a + " » en trop"};
    }
    if (o.fichier.empty()) throw EUsage{"aucun fichier à charger"};
    return o;
}

int GenreSelonExtension(const std::string& chemin) {
    std::string ext = std::filesystem::path(chemin).extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".arkl") return 1;
    if (ext == ".xyz") return 2;
    throw EUsage{"--enregistrer : extension .arkl ou .xyz attendue pour « " + chemin + " »"};
}

int Executer(const TOptions& o) {
    TPlateformeConsole plateforme;
    TEspaceTravail travail(plateforme);
    if (!travail.ChargerScan(o.fichier)) return EchecFichier;
    if (o.niveau) travail.FixerNiveauAffiche(*o.niveau);
    if (o.proprietes) std::printf("%s\n", travail.Proprietes().c_str());
    if (o.enregistrer) {
        const int genre = GenreSelonExtension(*o.enregistrer);
        const std::filesystem::path cible(*o.enregistrer);
        travail.PFsansext = (cible.parent_path() / cible.stem()).string();
        const int niveau = o.niveauEnregistre.value_or(travail.Scan.NivMax);
        if (niveau > travail.Scan.NivMax)
            throw EUsage{"--niveau-enregistre : le scan n'a pas de niveau " +
                         std::to_string(niveau) + " (niveau le plus fin : " +
                         std::to_string(travail.Scan.NivMax) + ")"};
        if (!travail.Executer([&] { travail.EnregistrerScan(genre, niveau); })) return EchecFichier;
    }
    return Reussite;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const TOptions options = LireOptions(std::vector<std::string>(argv + 1, argv + argc));
        return Executer(options);
    } catch (const EUsage& e) {
        std::fprintf(stderr, "arkalune-calcul : %s\n%s", e.message.c_str(), Usage);
        return EchecUsage;
    }
}
