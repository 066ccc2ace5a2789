#include "shell/FenetrePrincipale.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt adopts the user's locale; every number we read or write uses ".".
    std::setlocale(LC_NUMERIC, "C");
    TFArkalune fenetre;
    fenetre.show();
    return application.exec();
}
