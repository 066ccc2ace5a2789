#include "LigneDeCommande.h"

#include "ConsoleSysteme.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/NettoyageSignaux.h"
#include "util/Version.h"

#include <cerrno>
#include <cstdio>
#include <new>

const std::string& TArguments::Valeur(const std::string& option) {
    if (!Reste()) throw EUsage{"l'option " + option + " attend une valeur"};
    return Suivant();
}

namespace {

int Echec(const char* nom, const std::string& message) {
    std::fprintf(stderr, "%s : %s\n", nom, message.c_str());
    return EchecFichier;
}

// What was printed must all have reached stdout (not a full disk, not a closed pipe).
int Terminer(const char* nom, int code) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Echec(nom, "écriture impossible sur la sortie standard : " + ErreurSysteme(errno));
    return code;
}

} // namespace

std::optional<int> RepondreAuxOptionsDInformation(const char* nom, const char* usage, int argc,
                                                  char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(usage, stdout);
            return Terminer(nom, Reussite);
        }
        if (a == "--version") {
            std::printf("%s %s\n", nom, VersionArkalune);
            return Terminer(nom, Reussite);
        }
    }
    return std::nullopt;
}

int ExecuterCommande(const char* nom, const char* usage, int argc, char** argv,
                     const std::function<int(TArguments&)>& corps) {
    std::vector<std::string> args = PreparerConsole(argc, argv);
    // Ctrl-C or SIGTERM leaves the previous files whole and no temporary file behind.
    InstallerNettoyageSurSignaux();
    if (const std::optional<int> code = RepondreAuxOptionsDInformation(nom, usage, argc, argv))
        return *code;
    int code = Reussite;
    try {
        TArguments arguments(std::move(args));
        code = corps(arguments);
    } catch (const EUsage& e) {
        std::fprintf(stderr, "%s : %s\n", nom, e.message.c_str());
        if (argc <= 1)
            std::fputs(usage, stderr);
        else
            std::fprintf(stderr, "(%s --help : mode d'emploi)\n", nom);
        return EchecUsage;
    } catch (const std::bad_alloc&) {
        return Echec(nom, "mémoire insuffisante pour terminer le travail");
    } catch (const std::exception& e) {
        return Echec(nom, MessageErreur(e));
    }
    return Terminer(nom, code);
}
