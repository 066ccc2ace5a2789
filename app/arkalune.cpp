#include "LigneDeCommande.h"
#include "shell/ApplicationQt.h"
#include "shell/FArkalune.h"
#include "util/NettoyageSignaux.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

const char* const Usage = "usage : arkalune [FICHIER]\n"
                          "       arkalune --help | --version\n"
                          "  FICHIER     scan ou relevé à ouvrir au lancement (.arkl, .xyz, .csv,\n"
                          "              .txt, .las, .ply, .pts, .ptx, .e57)\n"
                          "  --help, -h  ce mode d'emploi\n"
                          "  --version   la version du programme\n"
                          "Les options de Qt (-platform, -style...) sont aussi acceptées.\n";

int ErreurUsage(const std::string& message) {
    std::fprintf(stderr, "arkalune : %s\n(arkalune --help : mode d'emploi)\n", message.c_str());
    return EchecUsage;
}

// The options Qt takes for itself (its applications' and the X11 platform's), and whether the
// next argument is their value.
struct TOptionQt {
    std::string_view Nom;
    bool Valeur;
};
constexpr TOptionQt OptionsQt[] = {{"platform", true},
                                   {"platformpluginpath", true},
                                   {"platformtheme", true},
                                   {"plugin", true},
                                   {"qwindowgeometry", true},
                                   {"qwindowicon", true},
                                   {"qwindowtitle", true},
                                   {"session", true},
                                   {"style", true},
                                   {"stylesheet", true},
                                   {"display", true},
                                   {"name", true},
                                   {"title", true},
                                   {"geometry", true},
                                   {"visual", true},
                                   {"qmljsdebugger", false},
                                   {"reverse", false},
                                   {"widgetcount", false},
                                   {"nograb", false},
                                   {"dograb", false},
                                   {"sync", false}};

// At most one file and no option but Qt's: the refusal comes before the window system is
// reached, which aborts the program when there is no display.
std::string RefusArguments(int argc, char** argv) {
    int fichiers = 0;
    for (int n = 1; n < argc; ++n) {
        const std::string_view a = argv[n];
        if (a.size() < 2 || a[0] != '-') {
            if (++fichiers > 1)
                return "un seul fichier à ouvrir : « " + std::string(a) + " » en trop";
            continue;
        }
        std::string_view nom = a.substr(a[1] == '-' ? 2 : 1);
        const bool valeurJointe = nom.find('=') != std::string_view::npos;
        nom = nom.substr(0, nom.find('='));
        const auto option = std::find_if(std::begin(OptionsQt), std::end(OptionsQt),
                                         [nom](const TOptionQt& o) { return o.Nom == nom; });
        if (option == std::end(OptionsQt)) return "option inconnue : " + std::string(a);
        if (option->Valeur && !valeurJointe) ++n;
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    // Answered before the window system is reached: no display is needed for them.
    if (const std::optional<int> code =
            RepondreAuxOptionsDInformation("arkalune", Usage, argc, argv))
        return *code;
    // Killed during an import or a save (a logout sends SIGHUP), the window leaves no temporary
    // file behind and asks nothing: the end of a session must not wait for an answer.
    if (const std::string refus = RefusArguments(argc, argv); !refus.empty())
        return ErreurUsage(refus);
    InstallerNettoyageSurSignaux();
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    PreparerApplication(application);
    TFArkalune fenetre;
    fenetre.show();
    // A scan named on the command line is opened after the first idle moment's initialisation.
    if (!arguments.isEmpty()) fenetre.OuvrirApresInit(arguments.at(0));
    return application.exec();
}
