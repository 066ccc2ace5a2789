#include "shell/CwinReg.h"

#include "shell/PlateformeQt.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <memory>

namespace {

// Application: the program's file name without its extension.
std::unique_ptr<QSettings> Magasin() {
    return std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelm"),
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

// A value edited by hand may read as a list where it had commas: it is taken as written.
QString Texte(const QVariant& valeur) {
    return valeur.typeId() == QMetaType::QStringList ? valeur.toStringList().join(QLatin1Char(','))
                                                     : valeur.toString();
}

} // namespace

TWinReg::TWinReg(QWidget& fenetre, QString cleFiche)
    : fenetre_(fenetre), CleFiche(cleFiche.toStdString()) {}

std::string TWinReg::GetStr(const std::string& nomValeur) const {
    return magasin_.GetStr(CleFiche, nomValeur);
}

void TWinReg::PutStr(const std::string& nomValeur, const std::string& valeur) {
    magasin_.PutStr(CleFiche, nomValeur, valeur);
}

void TWinReg::ChargeReg() {
    FLoadOK = false;
    InitAlign = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    magasin_.Vider();
    const auto reglages = Magasin();
    // Sub-keys come as "FArkalune/WinLTWH": the store's name is "FArkalune", a tab, "WinLTWH".
    for (const QString& cle : reglages->allKeys()) {
        QString nom = cle;
        nom.replace(QLatin1Char('/'), QLatin1Char('\t'));
        magasin_.Ajouter(nom.toStdString(), Texte(reglages->value(cle)).toStdString());
    }
    // A file that cannot be read is neither trusted nor written over at closing: what it holds
    // stays for the user to mend.
    FLoadOK = reglages->status() == QSettings::NoError;
    if (!FLoadOK) {
        magasin_.Vider();
        Illisible =
            "réglages illisibles, ni lus ni enregistrés : « " + reglages->fileName().toStdString() +
            " » (" +
            (reglages->status() == QSettings::AccessError ? "accès refusé" : "contenu mal formé") +
            ")";
    }
    if (InitAlign)
        QMessageBox::information(&fenetre_, QString::fromLatin1(TitreMessages),
                                 QStringLiteral("réinitialisation des positions de fenêtres ; "
                                                "redémarrez "));
    ChargeFenReg();
}

void TWinReg::ChargeFenReg() {
    QCoreApplication::processEvents();
    if (!InitAlign) {
        // A stored 0 is ignored like an absent value.
        const std::int32_t ppp = magasin_.GetLong(CleFiche, "PixelsPerInchDsgn", 0);
        if (ppp != 0) FPixelsPerInchDsgn = ppp;
        const TPlacementFenetre p = LireWinLTWH(GetStr("WinLTWH"));
        const QScreen* ecran = fenetre_.screen();
        if (p.rectangle && ecran) {
            fenetre_.setWindowState(Qt::WindowNoState);
            const TRectangleFenetre r =
                GarderSurEcran(*p.rectangle, ecran->geometry().width(), ecran->geometry().height());
            fenetre_.setGeometry(r.gauche, r.haut, r.largeur, r.hauteur);
            if (p.etat == TEtatFenetre::Maximisee) fenetre_.setWindowState(Qt::WindowMaximized);
            if (p.etat == TEtatFenetre::Minimisee) fenetre_.setWindowState(Qt::WindowMinimized);
        }
    }
    if (const QScreen* ecran = fenetre_.screen()) {
        const QRect g = fenetre_.geometry();
        const TRectangleFenetre r =
            GarderSurEcran({g.x(), g.y(), g.width(), g.height()}, ecran->geometry().width(),
                           ecran->geometry().height());
        if (r.gauche != g.x() || r.haut != g.y()) fenetre_.move(r.gauche, r.haut);
    }
    QCoreApplication::processEvents();
    if (OnChargeReg) OnChargeReg();
}

void TWinReg::RangeFenReg() {
    magasin_.PutLong(CleFiche, "PixelsPerInchDsgn", FPixelsPerInchDsgn);
    const TEtatFenetre etat = fenetre_.isMaximized()   ? TEtatFenetre::Maximisee
                              : fenetre_.isMinimized() ? TEtatFenetre::Minimisee
                                                       : TEtatFenetre::Normale;
    // The normal rectangle of the same kind as the one restored: the window neither creeps nor
    // grows from run to run.
    const QRect n = etat == TEtatFenetre::Normale ? fenetre_.geometry() : fenetre_.normalGeometry();
    PutStr("WinLTWH", EcrireWinLTWH(etat, {n.x(), n.y(), n.width(), n.height()}));
    if (OnRangeReg) OnRangeReg();
}

void TWinReg::RangeReg() {
    if (!FLoadOK) return;
    RangeFenReg();
    const auto reglages = Magasin();
    for (const auto& [nom, valeur] : magasin_.Donnees()) {
        QString cle = QString::fromStdString(nom);
        cle.replace(QLatin1Char('\t'), QLatin1Char('/'));
        reglages->setValue(cle, QString::fromStdString(valeur));
    }
    reglages->sync();
}
