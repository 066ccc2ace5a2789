// arkalune-generer: writes the synthetic survey of a quadripartite ribbed vault.
// Exit status: 0 written, 1 the file could not be written, 2 bad usage.

#include "EcritureVoute.h"
#include "LigneDeCommande.h"
#include "util/Erreurs.h"
#include "util/Format.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage : arkalune-generer --points N --graine S --sortie F [--portee-x M --portee-y M]\n"
    "                         [--origine X Y Z] [--e57-codage C] [--e57-sans-couleur]\n"
    "                         [--e57-invalides N]\n"
    "  --points N       nombre de points du relevé (1 000 000 par défaut)\n"
    "  --graine S       graine du tirage : mêmes options, même fichier (1 par défaut)\n"
    "  --sortie F       fichier à écrire : .xyz (texte), .arkl (scan enregistré), ou un relevé\n"
    "                   .csv, .txt, .pts, .ptx, .ply, .las, .e57\n"
    "  --portee-x M     portée de la travée entre doubleaux, en m (8 par défaut)\n"
    "  --portee-y M     portée entre formerets, en m (6 par défaut)\n"
    "  --origine X Y Z  angle de la travée à la naissance des arcs (1652.37 8203.61 40)\n"
    "  --e57-codage C   coordonnées E57 : reel64 (par défaut), reel32 ou entier (au 1/10 mm)\n"
    "  --e57-sans-couleur  E57 sans couleurs\n"
    "  --e57-invalides N   E57 : un point marqué invalide après chaque N points\n";

double LireReelOption(const std::string& option, const std::string& texte) {
    double v = 0;
    if (!LireReel(texte, v))
        throw EUsage{"valeur invalide pour " + option + " : « " + texte + " »"};
    return v;
}

std::int64_t LireEntierOption(const std::string& option, const std::string& texte) {
    std::int64_t v = 0;
    if (!LireEntier(texte, v) || v < 0)
        throw EUsage{"valeur invalide pour " + option + " : « " + texte + " » (entier positif)"};
    return v;
}

TCodageE57Ecrit LireCodage(const std::string& texte) {
    if (texte == "reel64") return TCodageE57Ecrit::Reel64;
    if (texte == "reel32") return TCodageE57Ecrit::Reel32;
    if (texte == "entier") return TCodageE57Ecrit::EntierEchelonne;
    throw EUsage{"valeur invalide pour --e57-codage : « " + texte +
                 " » (reel64, reel32 ou entier)"};
}

TParametresVoute LireOptions(TArguments& args, std::string& sortie, TOptionsE57& e57) {
    TParametresVoute p;
    while (args.Reste()) {
        const std::string& a = args.Suivant();
        auto valeur = [&]() -> const std::string& { return args.Valeur(a); };
        if (a == "--points")
            p.NbPoints = LireEntierOption(a, valeur());
        else if (a == "--graine")
            p.Graine = std::uint64_t(LireEntierOption(a, valeur()));
        else if (a == "--sortie")
            sortie = valeur();
        else if (a == "--portee-x")
            p.PorteeX = LireReelOption(a, valeur());
        else if (a == "--portee-y")
            p.PorteeY = LireReelOption(a, valeur());
        else if (a == "--e57-codage")
            e57.Codage = LireCodage(valeur());
        else if (a == "--e57-sans-couleur")
            e57.Couleur = false;
        else if (a == "--e57-invalides")
            e57.Invalides = LireEntierOption(a, valeur());
        else if (a == "--origine")
            for (int n = 0; n < 3; ++n)
                p.Origine[n] = LireReelOption(a, valeur());
        else
            throw EUsage{"option inconnue : " + a};
    }
    if (sortie.empty()) throw EUsage{"--sortie manque"};
    return p;
}

} // namespace

int main(int argc, char** argv) {
    return ExecuterCommande("arkalune-generer", Usage, argc, argv, [](TArguments& args) {
        std::string sortie;
        TOptionsE57 e57;
        const TParametresVoute parametres = LireOptions(args, sortie, e57);
        EcrireVoute(parametres, sortie, e57);
        return Reussite;
    });
}
