// The main window's layout, its start, its help, and Esc during a long command.

#include "FenetreEssai.h"
#include "Modales.h"
#include "shell/ApplicationQt.h"
#include "shell/FenetreAide.h"
#include "shell/OptionsCalcul.h"
#include "support/LancerCalcul.h"
#include "support/Temporaire.h"
#include "util/Format.h"
#include "util/Version.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdlib>

namespace {

struct TNomTexte {
    const char* nom;
    const char* texte; // caption, or null when the control has none
};

QString Texte(QObject& o) {
    if (auto* a = qobject_cast<QAction*>(&o)) return a->text();
    if (auto* b = qobject_cast<QAbstractButton*>(&o)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(&o)) return l->text();
    return {};
}

} // namespace

TEST(Fenetre, ChaqueControleASonNomEtSonTexte) {
    const auto f = FenetrePrete();
    const TNomTexte controles[] = {
        {"MiFichiers", "Fichiers"},
        {"MiOuvrir", "Ouvrir"},
        {"MiEnregistrer", "Enregistrer"},
        {"MiEnregistrerSous", "Enregistrer Sous"},
        {"MiEnregistrerLeNiveauAffiche", "Enregistrer le niveau affiché"},
        {"MiExporterPdf", "Exporter en PDF…"},
        {"MiExporterHtml", "Exporter en HTML…"},
        {"MiImprimer", "Imprimer…"},
        {"MiOrientation", "Orientation"},
        {"MiVueY", "vue du plan X-Z"},
        {"MiVueX", "vue du plan Y-Z"},
        {"MiVueZ", "vue du plan X-Y"},
        {"MiToutVoir", "Tout voir"},
        {"MiDefinirAxeX", "Définir axe X"},
        {"MiSelection", "Sélection"},
        {"MiMasquerSelection", "Masquer les points sélectionnés"},
        {"MiDemasquer", "Démasquer tous les points"},
        {"MiInverserMasque", "Inverser le masque"},
        {"MiSupprimerSelection", "Supprimer la sélection"},
        {"MiSupprimerLesPointsMasques", "Supprimer les points masqués"},
        {"MiAnnulerSuppressions", "Annuler les suppressions"},
        {"MiCompacter", "Compacter (supprime définitivement)"},
        {"MiProprietes", "Propriétés"},
        {"rafraichir1", "rafraichir"},
        {"MiAide", "Aide"},
        {"PnTop", nullptr},
        {"CkBxVoirPoints", "points"},
        {"CmBxTaillePoints", nullptr},
        {"SBtVueSvtX", "X"},
        {"SBtVueSvtY", "Y"},
        {"SBtVueSvtZ", "Z"},
        {"SBtEchPlus", "+"},
        {"SBtEchMoins", "-"},
        {"PCavct", nullptr},
        {"TSpreparation", nullptr},
        {"CmBxNivAff", nullptr},
        {"EdRotZ", nullptr},
        {"BtActualiserRot", "Actualiser"},
        {"TSstructure", nullptr},
        {"BtDeplacerQuartEtudie", "déplacer le quart étudié"},
        {"CkBxEdFront", "Editer la frontière : - point"},
        {"CmBxPtFront", nullptr},
        {"SBtDeplD", nullptr},
        {"SBtDeplG", nullptr},
        {"SBtDeplH", nullptr},
        {"SBtDeplB", nullptr},
        {"GEdLargeurAretier", nullptr},
        {"GEdNbArcsVoute", nullptr},
        {"BtRafraichirStructure", "Rafraichir"},
        {"TScharges", nullptr},
        {"GEdMlinAretier", nullptr},
        {"GEdMsurfVoute", nullptr},
        {"GEdMvolRemplissage", nullptr},
        {"GEdNivRemplissage", nullptr},
        {"BtCalculerCharges", "Recalculer"},
        {"TSresultats", nullptr},
        {"LbResultats", " "},
        {"PCaffi", nullptr},
        {"TSvgl", nullptr},
        {"PnVGL", nullptr},
        {"VGL", nullptr},
        {"TSresul", nullptr},
        {"PnWB", nullptr},
        {"WB", nullptr},
        {"PnBtns", nullptr},
        {"BtResulPP", "Copier dans le presse-papier"},
        {"SBinfo", nullptr},
    };
    for (const TNomTexte& c : controles) {
        QObject* o = f->findChild<QObject*>(QString::fromLatin1(c.nom));
        ASSERT_NE(o, nullptr) << c.nom;
        if (c.texte) {
            EXPECT_EQ(Texte(*o), QString::fromUtf8(c.texte)) << c.nom;
        }
    }
    // The top bar's captions, in their order before the controls they name.
    QStringList legendes;
    for (QLabel* l : Enfant<QWidget>(*f, "PnTop").findChildren<QLabel*>())
        legendes << l->text();
    EXPECT_EQ(legendes, (QStringList{"Affichage :", "Taille des points :", "Vue suivant :"}));
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Calcul de voûte nervurée"));
    EXPECT_EQ(Enfant<QWidget>(*f, "SBtVueSvtX").toolTip(),
              QString::fromUtf8("Vue suivant l'axe X"));

    // Sizes in pixels, font and the page control.
    auto& onglets = Enfant<QTabWidget>(*f, "PCavct");
    EXPECT_EQ(onglets.height(), 90);
    EXPECT_EQ(Enfant<QWidget>(*f, "PnTop").height(), 27);
    const QStringList titres = {"Préparation", "Structure", "Charges", "Résultats"};
    ASSERT_EQ(onglets.count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(onglets.tabText(i), titres[i]);
        EXPECT_EQ(onglets.tabBar()->tabRect(i).width(), 150);
    }
    EXPECT_EQ(Enfant<QLabel>(*f, "SBinfo0").width(), 400);
    EXPECT_EQ(Enfant<QWidget>(*f, "BtResulPP").width(), Enfant<QWidget>(*f, "PnBtns").width());
    EXPECT_TRUE(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(f->font()).family()))
        << QFontInfo(f->font()).family().toStdString();
    // The view is shown under the first three tabs.
    EXPECT_EQ(Enfant<QStackedWidget>(*f, "PCaffi").currentWidget()->objectName(), "TSvgl");

    // Qt's own buttons speak French.
    QMessageBox boite(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(boite.button(QMessageBox::Yes)->text().remove('&'), "Oui");
    EXPECT_EQ(boite.button(QMessageBox::No)->text().remove('&'), "Non");
}

TEST(Fenetre, LeFichierDeLaLigneDeCommandeSOuvreApresLInitialisation) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    TFArkalune f;
    f.OuvrirApresInit(QString::fromStdString(chemin));
    f.show();
    ASSERT_TRUE(Attendre([&] { return f.InitDone() && !f.Occupe(); }));
    EXPECT_EQ(f.windowTitle().toStdString(), "Calcul de voûte nervurée - " + chemin);
    EXPECT_TRUE(f.Travail().ScanPret);
    EXPECT_EQ(f.Travail().Scan.NbPoints, 148744);
    EXPECT_EQ(f.Travail().DernierScan, dossier.Dossier().string());
}

TEST(Fenetre, LAideSOuvreSansBloquerLaFenetre) {
    const auto f = FenetrePrete();
    auto& aideMenu = Enfant<QAction>(*f, "MiAide");
    EXPECT_EQ(aideMenu.shortcut(), QKeySequence(Qt::Key_F1));
    aideMenu.trigger();
    TFAide* aide = nullptr;
    ASSERT_TRUE(Attendre([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if ((aide = qobject_cast<TFAide*>(w)) && aide->isVisible()) return true;
        return false;
    }));
    EXPECT_FALSE(aide->isModal());
    const QString texte = aide->Navigateur()->toPlainText();
    for (const char* sujet :
         {"Définir axe X", "expression ?", "RAC2", "Copier dans le presse-papier",
          "arkalune-calcul", ".xyz", "Annuler les suppressions", "Matériel graphique",
          "Carte graphique :", "Modes d'affichage", "Premier pas : l'exemple voute.arkl",
          "FX = 886, FY = 748", "clé arc", "appui arc", "quartier 1", "quartier 2",
          "Lire les résultats : axes et signes", "FX = 646 daN au niveau 0"})
        EXPECT_TRUE(texte.contains(QString::fromUtf8(sujet))) << sujet;
    for (const TOptionCalcul& o : OptionsCalcul())
        EXPECT_TRUE(texte.contains(QStringLiteral("[%1").arg(QString::fromLatin1(o.Nom)))) << o.Nom;
    // The figure of the studied quarter is a resource of the program.
    const QImage figure = aide->Navigateur()
                              ->document()
                              ->resource(QTextDocument::ImageResource,
                                         QUrl(QStringLiteral("qrc:/aide/quart-etudie.png")))
                              .value<QImage>();
    EXPECT_EQ(figure.size(), QSize(560, 400));
    // The driver's extensions wait behind "détails".
    EXPECT_FALSE(texte.contains("GL_")) << texte.toStdString();
    EXPECT_TRUE(aide->Navigateur()->document()->toHtml().contains("qrc:/aide/extensions.html"));
    aide->Navigateur()->setSource(QUrl(QStringLiteral("qrc:/aide/extensions.html")));
    EXPECT_TRUE(aide->Navigateur()->toPlainText().contains("GL_"));
    // A link of the contents leads inside the document.
    aide->Navigateur()->setSource(QUrl(QStringLiteral("qrc:/aide/aide.html#champs")));
    EXPECT_TRUE(aide->Navigateur()->toPlainText().contains("Champs et expressions"));
    // The hardware report stays through the links.
    aide->Navigateur()->setSource(QUrl(QStringLiteral("qrc:/aide/aide.html#materiel")));
    EXPECT_TRUE(aide->Navigateur()->toPlainText().contains("Carte graphique :"));
    EXPECT_GT(aide->Navigateur()->verticalScrollBar()->value(), 0);
    f->close();
}

namespace {

// Esc typed to the window at the first progress text of a load; `reponse` answers "Annuler?".
struct TChargementInterrompu {
    std::unique_ptr<TFArkalune> f = FenetrePrete();
    bool bloquee = false; // menus, tabs and buttons were disabled meanwhile
    bool refusee = false; // another command was refused meanwhile
    QStringList textes;

    TChargementInterrompu(const std::string& chemin, TReponsesModales::TReponse reponse,
                          bool message) {
        std::deque<TReponsesModales::TReponse> reponses{reponse};
        if (message) reponses.push_back(Valider);
        TReponsesModales modales(reponses);
        QTimer::singleShot(0, f.get(), [this] {
            bloquee = !f->menuBar()->isEnabled() && !Enfant<QWidget>(*f, "PCavct").isEnabled() &&
                      !Enfant<QWidget>(*f, "PnBtns").isEnabled();
            Enfant<QAction>(*f, "MiOuvrir").trigger();
            refusee = f->Occupe();
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : f.get(), Qt::Key_Escape);
        });
        f->OuvrirFichier(QString::fromStdString(chemin));
        textes = modales.Textes();
    }
};

} // namespace

TEST(Fenetre, EchapPendantUnChargement) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    struct TCas {
        const char* nom;
        TReponsesModales::TReponse reponse;
        bool abandon;
        const char* journal; // the answer as the journal writes it
    };
    for (const TCas& cas : {TCas{"Oui", Oui, true, "Oui"}, TCas{"Non", Non, false, "Non"},
                            TCas{"Échap", Echap, false, "sans réponse"}}) {
        SCOPED_TRACE(cas.nom);
        const std::string journalAvant = LireJournal();
        TChargementInterrompu c(chemin, cas.reponse, cas.abandon);
        EXPECT_TRUE(c.bloquee);
        EXPECT_TRUE(c.refusee);
        const QStringList attendus =
            cas.abandon ? QStringList{"Annuler?", "abandon"} : QStringList{"Annuler?"};
        EXPECT_EQ(c.textes, attendus);
        EXPECT_EQ(c.f->Travail().Scan.NbPoints, cas.abandon ? 0 : 148744);
        // Answering with Esc did not arm the question again.
        EXPECT_FALSE(c.f->Travail().Echap);
        EXPECT_TRUE(c.f->menuBar()->isEnabled());
        EXPECT_TRUE(Enfant<QWidget>(*c.f, "PCavct").isEnabled());
        // The journal has the question with its answer, after the time it was answered.
        const std::string journal = LireJournal().substr(journalAvant.size());
        EXPECT_NE(journal.find(" ms question : Annuler? -> " + std::string(cas.journal) + "\n"),
                  std::string::npos)
            << journal;
        // Esc came at the wait cursor: a cancelled load never reached its first progress text.
        EXPECT_EQ(journal.find("statut 1 : construction : ") != std::string::npos, !cas.abandon);
        EXPECT_EQ(journal.find("abandon") != std::string::npos, cas.abandon);
    }
}

// The shift of a survey in national-grid coordinates is said whole at the window's usual size.
TEST(Fenetre, LeDecalageDUneGrilleNationaleSeLitEnEntier) {
    TDossierTemporaire dossier;
    std::string points;
    for (int i = 0; i < 40; ++i)
        points += Formater("%.2f %.2f %.2f\n", 652000.5 + 0.05 * i, 6862000.5 + 0.03 * i, 40.2);
    const std::string chemin = dossier.Chemin("lambert.xyz");
    EcrireFichier(chemin, points);
    const auto f = FenetrePrete();
    f->OuvrirFichier(QString::fromStdString(chemin));
    QApplication::processEvents();
    const auto& panneau = Enfant<QLabel>(*f, "SBinfo0");
    EXPECT_TRUE(panneau.text().endsWith(QStringLiteral("Y = 6862000 m, Z = 40 m")))
        << panneau.text().toStdString();
    EXPECT_GE(panneau.width(), panneau.sizeHint().width());
    EXPECT_EQ(panneau.toolTip(), panneau.text());
}

TEST(Fenetre, LigneDeCommandeDuProgramme) {
    const char* programme = std::getenv("ARKALUNE");
    if (!programme) GTEST_SKIP() << "ARKALUNE n'est pas donné (lancé hors de ctest)";
    // Help and version need no display.
    const std::string sansAffichage =
        std::string("env -u DISPLAY QT_QPA_PLATFORM=xcb ") + programme;
    const TResultatCommande aide = LancerCommande(sansAffichage + " --help");
    EXPECT_EQ(aide.code, 0);
    EXPECT_EQ(aide.sortie.rfind("usage : arkalune [FICHIER]\n", 0), 0u) << aide.sortie;
    const TResultatCommande version = LancerCommande(sansAffichage + " --version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.sortie, std::string("arkalune ") + VersionArkalune + "\n");
    // An option it does not know is refused, rather than opened as a file, and without a display
    // too; so is a second file, after Qt's options and their values.
    const std::pair<const char*, const char*> refus[] = {
        {" --voir", "option inconnue : --voir"},
        {" -style fusion a.arkl --voir", "option inconnue : --voir"},
        {" a.arkl -reverse b.arkl", "un seul fichier à ouvrir : « b.arkl » en trop"}};
    for (const auto& [arguments, message] : refus) {
        const TResultatCommande r = LancerCommande(sansAffichage + arguments);
        EXPECT_EQ(r.code, 2) << arguments;
        EXPECT_NE(r.erreurs.find(message), std::string::npos) << r.erreurs;
    }
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    PreparerApplication(application);
    TDossierTemporaire reglages;
    // The settings of these runs stay in a private folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(reglages.Dossier().string()));
    const std::string journal = reglages.Chemin("journal.txt");
    setenv("ARKALUNE_JOURNAL", journal.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

std::string CheminJournal() {
    return std::getenv("ARKALUNE_JOURNAL");
}
