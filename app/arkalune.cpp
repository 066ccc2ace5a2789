#include "shell/ApplicationQt.h"
#include "shell/FArkalune.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    PreparerApplication(application);
    TFArkalune fenetre;
    fenetre.show();
    // A scan named on the command line is opened after the first idle moment's initialisation.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) fenetre.OuvrirApresInit(arguments.at(1));
    return application.exec();
}
