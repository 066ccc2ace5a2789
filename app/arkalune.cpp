#include "LigneDeCommande.h"
#include "shell/ApplicationQt.h"
#include "shell/FArkalune.h"
#include "util/NettoyageSignaux.h"

#include <QApplication>
#include <cstdio>

namespace {

const char* const Usage = "usage : arkalune [FICHIER]\n"
                          "       arkalune --help | --version\n"
                          "  FICHIER     scan ou relevé à ouvrir au lancement (.arkl, .xyz, .csv,\n"
                          "              .txt, .las, .ply, .pts, .ptx, .e57)\n"
                          "  --help, -h  ce mode d'emploi\n"
                          "  --version   la version du programme\n"
                          "Les options de Qt (-platform, -style...) sont aussi acceptées.\n";

// What is left once Qt has taken its own options: at most one file, no other option.
int ErreurUsage(const QString& message) {
    std::fprintf(stderr, "arkalune : %s\n(arkalune --help : mode d'emploi)\n",
                 message.toUtf8().constData());
    return EchecUsage;
}

} // namespace

int main(int argc, char** argv) {
    // Answered before the window system is reached: no display is needed for them.
    if (const std::optional<int> code =
            RepondreAuxOptionsDInformation("arkalune", Usage, argc, argv))
        return *code;
    // Killed during an import or a save (a logout sends SIGHUP), the window leaves no temporary
    // file behind and asks nothing: the end of a session must not wait for an answer.
    InstallerNettoyageSurSignaux();
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString& a : arguments)
        if (a.size() > 1 && a.startsWith(QLatin1Char('-')))
            return ErreurUsage(QStringLiteral("option inconnue : ") + a);
    if (arguments.size() > 1)
        return ErreurUsage(QStringLiteral("un seul fichier à ouvrir : « ") + arguments.at(1) +
                           QStringLiteral(" » en trop"));
    PreparerApplication(application);
    TFArkalune fenetre;
    fenetre.show();
    // A scan named on the command line is opened after the first idle moment's initialisation.
    if (!arguments.isEmpty()) fenetre.OuvrirApresInit(arguments.at(0));
    return application.exec();
}
