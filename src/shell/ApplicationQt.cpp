#include "shell/ApplicationQt.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>

void PreparerApplication(QApplication& application) {
    auto* traduction = new QTranslator(&application);
    if (traduction->load(QStringLiteral("qtbase_fr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(traduction);
    // A font with Arial's metrics stands in where Arial is absent.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(12);
    QApplication::setFont(police);
    // Qt adopts the user's locale; every number we read or write uses ".".
    std::setlocale(LC_NUMERIC, "C");
}
