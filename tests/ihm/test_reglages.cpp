// The window's settings: written at closing, restored by the next run.

#include "FenetreEssai.h"
#include "Modales.h"

#include "view/GLbox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>

TEST(ReglagesFenetre, EcritsALaFermetureEtRelusAuProchainLancement) {
    {
        QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                    QCoreApplication::applicationName());
        r.clear();
    }
    {
        const auto f = FenetrePrete();
        f->setGeometry(110, 130, 700, 450);
        QTest::qWait(100);
        f->Travail().DernierScan = "/dossier/des scans";
        f->close();
    }
    QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                QCoreApplication::applicationName());
    EXPECT_EQ(r.value("FArkalune/WinLTWH").toString(), "110 130 700 450");
    EXPECT_EQ(r.value("FArkalune/PixelsPerInchDsgn").toString(), "120");
    EXPECT_EQ(r.value("FArkalune/DernierScan").toString(), "/dossier/des scans");

    // A name written in another case is found; the rectangle comes back as it was saved.
    r.remove("FArkalune/DernierScan");
    r.setValue("FArkalune/dernierscan", "/autre");
    r.sync();
    {
        const auto f = FenetrePrete();
        EXPECT_EQ(f->Travail().DernierScan, "/autre");
        EXPECT_EQ(f->geometry(), QRect(110, 130, 700, 450));
        f->close();
    }
    r.sync();
    EXPECT_EQ(r.value("FArkalune/WinLTWH").toString(), "110 130 700 450");
    EXPECT_EQ(r.value("FArkalune/dernierscan").toString(), "/autre");
}

TEST(ReglagesFenetre, FichiersRecentsEtDossierDOuverture) {
    {
        QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                    QCoreApplication::applicationName());
        r.clear();
    }
    TDossierTemporaire dossier;
    const std::string exemple = CopieExemple(dossier);
    const std::string autre = dossier.Chemin("autre.arkl");
    std::filesystem::copy_file(exemple, autre);
    {
        const auto f = FenetrePrete();
        // No scan yet: the open dialog starts in the documents, never the program's folder.
        QString depart;
        TReponsesModales modales({[&](QWidget& w) {
            depart = static_cast<QFileDialog&>(w).directory().absolutePath();
            static_cast<QDialog&>(w).reject();
        }});
        Enfant<QAction>(*f, "MiOuvrir").trigger();
        ASSERT_TRUE(modales.Epuisees());
        EXPECT_NE(depart, QCoreApplication::applicationDirPath());
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        EXPECT_EQ(depart, QFileInfo(documents).isDir() ? documents : QDir::homePath());

        f->OuvrirFichier(QString::fromStdString(exemple));
        // A file dropped on the 3D view opens as anywhere else on the window.
        auto& vue = Enfant<TGLbox>(*f, "VGL");
        ASSERT_NE(vue.Surface(), nullptr);
        QMimeData donnees;
        donnees.setUrls({QUrl::fromLocalFile(QString::fromStdString(autre))});
        const QPoint milieu(vue.width() / 2, vue.height() / 2);
        QDragEnterEvent entree(milieu, Qt::CopyAction, &donnees, Qt::LeftButton, {});
        QApplication::sendEvent(vue.Surface(), &entree);
        EXPECT_TRUE(entree.isAccepted());
        QDropEvent depot(QPointF(milieu), Qt::CopyAction, &donnees, Qt::LeftButton, {});
        QApplication::sendEvent(vue.Surface(), &depot);
        EXPECT_TRUE(depot.isAccepted());
        ASSERT_TRUE(Attendre([&] { return f->Travail().FichierScan == autre; }));
        // The recent files are written as they are opened, not only when the window closes.
        QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                    QCoreApplication::applicationName());
        EXPECT_EQ(r.value("FArkalune/FichierRecent1").toString().toStdString(), autre);
        EXPECT_EQ(r.value("FArkalune/FichierRecent2").toString().toStdString(), exemple);
        f->OuvrirFichier(QString::fromStdString(exemple));
        f->close();
    }
    QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                QCoreApplication::applicationName());
    EXPECT_EQ(r.value("FArkalune/FichierRecent1").toString().toStdString(), exemple);
    EXPECT_EQ(r.value("FArkalune/FichierRecent2").toString().toStdString(), autre);

    // The next run offers them, newest first, and a file removed since is left out.
    std::filesystem::remove(exemple);
    const auto f = FenetrePrete();
    auto* menu = Enfant<QAction>(*f, "MiFichiersRecents").menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0]->text().toStdString(), autre);
    actions[0]->trigger();
    EXPECT_EQ(f->Travail().FichierScan, autre);
    EXPECT_EQ(f->Travail().Scan.NbPoints, 148744);
    f->close();
}

// A size beyond the screen, written by hand or by another machine, is brought back to the
// screen, as the position is: the window is never larger than what it can draw.
TEST(ReglagesFenetre, UneTailleHorsDeLEcranEstRameneeALEcran) {
    for (const char* texte : {"0 0 40000 40000", "0 0 2000000000 2000000000"}) {
        {
            QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                        QCoreApplication::applicationName());
            r.clear();
            r.setValue("FArkalune/WinLTWH", texte);
        }
        const auto f = FenetrePrete();
        const QRect ecran = f->screen()->geometry();
        EXPECT_LE(f->width(), ecran.width()) << texte;
        EXPECT_LE(f->height(), ecran.height()) << texte;
        EXPECT_FALSE(f->grab().isNull()) << texte;
        f->close();
    }
}

// A settings file that cannot be read is said once, and left as it is: the window does not
// write its placement over it.
TEST(ReglagesFenetre, UnFichierIllisibleEstSignaleEtLaisseTelQuel) {
    const QString chemin = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                                     QCoreApplication::applicationName())
                               .fileName();
    const std::string malForme = "[FArkalune\nWinLTWH=10 20 300 200\n";
    for (const bool dossier : {false, true}) {
        std::filesystem::remove_all(chemin.toStdString());
        if (dossier)
            std::filesystem::create_directories(chemin.toStdString());
        else
            EcrireFichier(chemin.toStdString(), malForme);
        const std::size_t avant = LireJournal().size();
        {
            const auto f = FenetrePrete();
            const QString statut = Enfant<QLabel>(*f, "SBinfo0").text();
            const std::string attendu = "réglages illisibles, ni lus ni enregistrés : « " +
                                        chemin.toStdString() + " » (" +
                                        (dossier ? "accès refusé" : "contenu mal formé") + ")";
            EXPECT_EQ(statut.toStdString(), attendu);
            const std::string journal = LireJournal().substr(avant);
            EXPECT_EQ(journal.find(attendu), journal.rfind(attendu)) << journal;
            EXPECT_NE(journal.find(attendu), std::string::npos) << journal;
            f->close();
        }
        if (dossier)
            EXPECT_TRUE(std::filesystem::is_directory(chemin.toStdString()));
        else
            EXPECT_EQ(LireFichier(chemin.toStdString()), malForme);
    }
    std::filesystem::remove_all(chemin.toStdString());
}

TEST(ReglagesFenetre, LesCouleursDesPointsSontGardees) {
    QSettings r(QSettings::NativeFormat, QSettings::UserScope, "Kelm",
                QCoreApplication::applicationName());
    // Never chosen: the survey's own colours.
    r.remove("FArkalune/CouleursPoints");
    r.sync();
    {
        const auto f = FenetrePrete();
        EXPECT_TRUE(f->Travail().CouleursReleve);
        EXPECT_TRUE(Enfant<QAction>(*f, "MiCouleursReleve").isChecked());
        f->close();
    }
    for (const bool releve : {true, false}) {
        {
            const auto f = FenetrePrete();
            Enfant<QAction>(*f, releve ? "MiCouleursReleve" : "MiCouleursNoir").trigger();
            f->close();
        }
        r.sync();
        EXPECT_EQ(r.value("FArkalune/CouleursPoints").toString(), releve ? "releve" : "noir");
        const auto f = FenetrePrete();
        EXPECT_EQ(f->Travail().CouleursReleve, releve);
        EXPECT_TRUE(
            Enfant<QAction>(*f, releve ? "MiCouleursReleve" : "MiCouleursNoir").isChecked());
        f->close();
    }
}
