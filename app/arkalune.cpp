#include "shell/FenetrePrincipale.h"

#include <QApplication>
#include <QTimer>
#include <clocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt adopts the user's locale; every number we read or write uses ".".
    std::setlocale(LC_NUMERIC, "C");
    TFArkalune fenetre;
    fenetre.show();
    // A scan named on the command line is opened once the window is up.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const std::string chemin = arguments.at(1).toStdString();
        QTimer::singleShot(0, &fenetre,
                           [&fenetre, chemin] { fenetre.Travail().ChargerScan(chemin); });
    }
    return application.exec();
}
