#include "shell/ApplicationQt.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>

void PreparerApplication(QApplication& application) {
    auto* traduction = new QTranslator(&application);
    if (traduction->load(QStringLiteral("qtbase_fr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(traduction);
    QIcon icone;
    for (const int taille : {16, 24, 32, 48, 64, 128, 256})
        icone.addFile(QStringLiteral(":/icone/arkalune-%1.png").arg(taille));
    QApplication::setWindowIcon(icone);
    // Ties the windows to the installed desktop entry (its name and icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.kelm.arkalune"));
    // A font with Arial's metrics stands in where Arial is absent.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(12);
    QApplication::setFont(police);
    // Qt adopts the user's locale; every number we read or write uses ".".
    std::setlocale(LC_NUMERIC, "C");
}
