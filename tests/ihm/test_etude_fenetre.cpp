// The study through the window's tabs, the report and its copy, and the save question.

#include "FenetreEssai.h"
#include "Modales.h"
#include "html/TexteHtml.h"
#include "support/LancerCalcul.h"
#include "support/PlateformeScriptee.h"
#include "vault/FigureQuart.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrintDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <cstdlib>
#include <filesystem>

namespace {

std::unique_ptr<TFArkalune> FenetreAvecExemple(const std::string& chemin) {
    auto f = FenetrePrete();
    f->OuvrirFichier(QString::fromStdString(chemin));
    EXPECT_EQ(f->Travail().Scan.NbPoints, 148744);
    return f;
}

void CliquerOnglet(TFArkalune& f, int t) {
    auto& onglets = Enfant<QTabWidget>(f, "PCavct");
    QTest::mouseClick(onglets.tabBar(), Qt::LeftButton, {}, onglets.tabBar()->tabRect(t).center());
}

} // namespace

TEST(EtudeFenetre, LesOngletsDonnentLaLigneEtLeRapportDeArkaluneCalcul) {
    TDossierTemporaire dossier;
    // The report gives the date of its calculation: the same for both.
    setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
    const std::string chemin = CopieExemple(dossier);
    const TResultatCommande calcul =
        LancerCalcul("'" + chemin + "' --rapport '" + dossier.Chemin("rapport.html") + "'");
    ASSERT_EQ(calcul.code, 0) << calcul.erreurs;

    const auto f = FenetreAvecExemple(chemin);
    auto& onglets = Enfant<QTabWidget>(*f, "PCavct");
    // Forward one step at a time only.
    for (int t : {2, 3}) {
        CliquerOnglet(*f, t);
        EXPECT_EQ(onglets.currentIndex(), 0);
    }
    for (int t : {1, 2, 3}) {
        CliquerOnglet(*f, t);
        ASSERT_EQ(onglets.currentIndex(), t);
    }
    EXPECT_EQ(Enfant<QLabel>(*f, "LbResultats").text().toStdString() + "\n", calcul.sortie);
    EXPECT_EQ(f->Travail().Etude.ResulNdC, LireFichier(dossier.Chemin("rapport.html")));
    unsetenv("SOURCE_DATE_EPOCH");
    auto& affichage = Enfant<QStackedWidget>(*f, "PCaffi");
    EXPECT_EQ(affichage.currentWidget()->objectName(), "TSresul");
    const QString texte = Enfant<QTextBrowser>(*f, "WB").toPlainText();
    EXPECT_TRUE(texte.contains("HYPOTHESES :"));
    EXPECT_TRUE(texte.contains("Arcs de gauche :"));

    // The copy button: the report as text and as HTML together.
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(&Enfant<QPushButton>(*f, "BtResulPP"), Qt::LeftButton);
    const QMimeData* copie = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copie, nullptr);
    EXPECT_TRUE(copie->hasText());
    EXPECT_TRUE(copie->hasHtml());
    // The text: each table row on one line, its cells separated by tabs.
    EXPECT_EQ(copie->text().toStdString(), TexteBrutHtml(f->Travail().Etude.ResulNdC));
    EXPECT_TRUE(copie->text().contains(QString::fromUtf8("\nn° arc\tV\tH\n1\t")));
    EXPECT_TRUE(copie->text().contains("Arcs de gauche :"));
    EXPECT_TRUE(copie->html().contains(QString::fromStdString(f->Travail().Etude.ResulNdC)));

    // Back freely, and the 3D view comes back.
    CliquerOnglet(*f, 0);
    EXPECT_EQ(onglets.currentIndex(), 0);
    EXPECT_EQ(affichage.currentWidget()->objectName(), "TSvgl");
}

TEST(EtudeFenetre, UneEtapeQuiEchoueLaisseSurLOngletQuitte) {
    // Without a scan, the structure cannot be built.
    const auto f = FenetrePrete();
    TReponsesModales modales({Valider});
    CliquerOnglet(*f, 1);
    EXPECT_EQ(modales.Textes().size(), 1);
    EXPECT_TRUE(modales.Textes().value(0).startsWith("aucun point affiché"));
    EXPECT_EQ(Enfant<QTabWidget>(*f, "PCavct").currentIndex(), 0);
    EXPECT_EQ(f->Travail().OngletActif, 0);
    EXPECT_EQ(Enfant<QStackedWidget>(*f, "PCaffi").currentWidget()->objectName(), "TSvgl");
}

namespace {

// A scan with deletions pending, whose file was removed since its load: a save brings it back.
struct TScanModifie {
    TDossierTemporaire dossier;
    std::string chemin = CopieExemple(dossier);
    std::unique_ptr<TFArkalune> f = FenetreAvecExemple(chemin);
    TScanModifie() {
        Enfant<QAction>(*f, "MiSupprimerLesPointsMasques").trigger();
        EXPECT_TRUE(f->Travail().Scan.ScanModifie);
        std::filesystem::remove(chemin);
    }
};

void Rejeter(QWidget& dialogue) {
    EXPECT_NE(qobject_cast<QFileDialog*>(&dialogue), nullptr);
    static_cast<QDialog&>(dialogue).reject();
}

} // namespace

TEST(EtudeFenetre, LaQuestionDEnregistrementAvantOuverture) {
    const QString question = QString::fromUtf8("les données ont été modifiées, enregistrer?");
    struct TCas {
        const char* nom;
        TReponsesModales::TReponse reponse;
        bool enregistre;
        bool ouvre; // the open dialog comes
    };
    for (const TCas& cas : {TCas{"Oui", Oui, true, true}, TCas{"Non", Non, false, true},
                            TCas{"Échap", Echap, false, false},
                            TCas{"case de fermeture", CaseFermeture, false, false}}) {
        SCOPED_TRACE(cas.nom);
        TScanModifie s;
        const QString titre = s.f->windowTitle();
        std::deque<TReponsesModales::TReponse> reponses{cas.reponse};
        if (cas.ouvre) reponses.push_back(Rejeter);
        TReponsesModales modales(reponses);
        Enfant<QAction>(*s.f, "MiOuvrir").trigger();
        EXPECT_TRUE(modales.Epuisees());
        EXPECT_EQ(modales.Textes().value(0), question);
        EXPECT_EQ(std::filesystem::exists(s.chemin), cas.enregistre);
        // The file dialog cancelled: the scan, its title and its view stay as they were.
        EXPECT_EQ(s.f->Travail().Scan.NbPoints, 148744);
        EXPECT_TRUE(s.f->Travail().ScanPret);
        EXPECT_EQ(s.f->windowTitle(), titre);
        EXPECT_EQ(s.f->Travail().Scan.ScanModifie, !cas.enregistre);
    }
}

TEST(EtudeFenetre, UneEtudeModifieeFaitPoserLaQuestion) {
    TDossierTemporaire dossier;
    const auto f = FenetreAvecExemple(CopieExemple(dossier));
    // Nothing changed: the window closes without a word.
    f->close();
    EXPECT_FALSE(f->isVisible());
    f->show();

    auto& arcs = Enfant<QLineEdit>(*f, "GEdNbArcsVoute");
    arcs.setFocus();
    arcs.selectAll();
    QTest::keyClicks(&arcs, "8");
    Enfant<QAction>(*f, "MiAnnulerSuppressions").trigger();
    TReponsesModales modales({Echap});
    f->close();
    EXPECT_TRUE(modales.Epuisees());
    EXPECT_EQ(modales.Textes(),
              QStringList{QString::fromUtf8("les données ont été modifiées, enregistrer?")});
    EXPECT_TRUE(f->isVisible());
}

namespace {

// Chooses `nom` in the save dialog, under the filter "tous les fichiers".
TReponsesModales::TReponse ChoisirSousTousLesFichiers(const QString& nom) {
    return [nom](QWidget& w) {
        auto& dialogue = dynamic_cast<QFileDialog&>(w);
        dialogue.selectNameFilter(QStringLiteral("tous les fichiers (*.*)"));
        // The name typed in the dialog's own field, as a user would.
        Enfant<QLineEdit>(dialogue, "fileNameEdit").setText(nom);
        static_cast<QDialog&>(dialogue).accept();
    };
}

} // namespace

TEST(EtudeFenetre, EnregistrerSousTousLesFichiersAjouteLExtension) {
    TDossierTemporaire dossier;
    const auto f = FenetreAvecExemple(CopieExemple(dossier));
    const std::string choisi = dossier.Chemin("copie");
    TReponsesModales modales({ChoisirSousTousLesFichiers(QString::fromStdString(choisi))});
    Enfant<QAction>(*f, "MiEnregistrerSous").trigger();
    EXPECT_TRUE(modales.Epuisees());
    ASSERT_TRUE(std::filesystem::exists(choisi + ".arkl"));
    EXPECT_FALSE(std::filesystem::exists(choisi));
    EXPECT_EQ(f->windowTitle().toStdString(), "Calcul de voûte nervurée - " + choisi + ".arkl");

    // "Enregistrer" of a scan read from XYZ text asks before replacing another study's file.
    TBancEssai banc;
    ASSERT_TRUE(banc.Travail.ChargerScan(choisi + ".arkl"));
    banc.Travail.PFsansext = dossier.Chemin("releve");
    ASSERT_TRUE(banc.Travail.EnregistrerScan(FormatXYZ(), banc.Travail.Scan.NivMax));
    EcrireFichier(dossier.Chemin("releve.arkl"), "autre étude");
    f->OuvrirFichier(QString::fromStdString(dossier.Chemin("releve.xyz")));
    // Return answers Non: it does not replace another study.
    TReponsesModales refus({Entree});
    Enfant<QAction>(*f, "MiEnregistrer").trigger();
    EXPECT_TRUE(refus.Epuisees());
    EXPECT_TRUE(refus.Textes().value(0).contains(QString::fromUtf8("existe déjà")));
    EXPECT_EQ(LireFichier(dossier.Chemin("releve.arkl")), "autre étude");
}

TEST(EtudeFenetre, LaQuestionDEnregistrementALaFermeture) {
    struct TCas {
        const char* nom;
        TReponsesModales::TReponse reponse;
        bool ferme;
        bool enregistre;
    };
    for (const TCas& cas : {TCas{"Oui", Oui, true, true}, TCas{"Non", Non, true, false},
                            TCas{"Échap", Echap, false, false}}) {
        SCOPED_TRACE(cas.nom);
        TScanModifie s;
        TReponsesModales modales({cas.reponse});
        s.f->close();
        EXPECT_TRUE(modales.Epuisees());
        EXPECT_EQ(s.f->isVisible(), !cas.ferme);
        EXPECT_EQ(std::filesystem::exists(s.chemin), cas.enregistre);
    }
}

namespace {

// The file dialog accepted once it proposes `chemin` (it settles its folder and name in the
// background).
TReponsesModales::TReponse AccepterProposition(const std::string& chemin) {
    return [chemin](QWidget& dialogue) {
        auto* d = qobject_cast<QFileDialog*>(&dialogue);
        ASSERT_NE(d, nullptr);
        const QString propose = QString::fromStdString(chemin);
        EXPECT_TRUE(QTest::qWaitFor([&] { return d->selectedFiles().value(0) == propose; }))
            << d->selectedFiles().join(",").toStdString();
        static_cast<QDialog*>(d)->accept();
    };
}

std::string TextePdf(const std::string& chemin) {
    const std::string texte = chemin + ".txt";
    EXPECT_EQ(std::system(("pdftotext '" + chemin + "' '" + texte + "'").c_str()), 0);
    return LireFichier(texte);
}

} // namespace

// "Exporter en PDF…" writes the document the batch command writes; "Imprimer…" opens the
// system's print dialog; without a report both say so.
TEST(EtudeFenetre, ExporterEnPdfEtImprimer) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
    const TResultatCommande calcul = LancerCalcul("'" + chemin + "' --rotation-z 30 --pdf '" +
                                                  dossier.Chemin("calcul.pdf") + "'");
    ASSERT_EQ(calcul.code, 0) << calcul.erreurs;

    const auto f = FenetreAvecExemple(chemin);
    {
        TReponsesModales modales({Valider, Valider});
        Enfant<QAction>(*f, "MiExporterPdf").trigger();
        Enfant<QAction>(*f, "MiImprimer").trigger();
        ASSERT_EQ(modales.Textes().size(), 2);
        EXPECT_TRUE(modales.Textes().value(1).startsWith("aucun rapport"));
    }
    auto& rotZ = Enfant<QLineEdit>(*f, "EdRotZ");
    rotZ.setText("30");
    QTest::mouseClick(&Enfant<QPushButton>(*f, "BtActualiserRot"), Qt::LeftButton);
    for (int t : {1, 2, 3})
        CliquerOnglet(*f, t);
    unsetenv("SOURCE_DATE_EPOCH");
    // Proposed beside the scan, with its name.
    const std::string pdf = dossier.Chemin("voute.pdf");
    {
        TReponsesModales modales({AccepterProposition(pdf)});
        Enfant<QAction>(*f, "MiExporterPdf").trigger();
        EXPECT_TRUE(modales.Epuisees());
    }
    EXPECT_EQ(TextePdf(pdf), TextePdf(dossier.Chemin("calcul.pdf")));
    EXPECT_NE(TextePdf(pdf).find("FX= 393"), std::string::npos);

    bool dialogueImpression = false;
    {
        TReponsesModales modales({[&](QWidget& d) {
            dialogueImpression = qobject_cast<QPrintDialog*>(&d) != nullptr;
            // A print to a file is proposed beside the scan too, not in the home folder.
            auto* fichier = d.findChild<QLineEdit*>(QStringLiteral("filename"));
            EXPECT_EQ(fichier ? fichier->text().toStdString() : "(aucun champ)", pdf);
            static_cast<QDialog&>(d).reject();
        }});
        Enfant<QAction>(*f, "MiImprimer").trigger();
        EXPECT_TRUE(modales.Epuisees());
    }
    EXPECT_TRUE(dialogueImpression);
    EXPECT_EQ(Enfant<QAction>(*f, "MiImprimer").shortcut(), QKeySequence(QKeySequence::Print));
}

// A second "Actualiser" reads back what the field shows: the angle typed, not a rounded one.
TEST(EtudeFenetre, UnSecondActualiserGardeLAngleTape) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    const TResultatCommande tape = LancerCalcul("'" + chemin + "' --rotation-z 12.7");
    const TResultatCommande arrondi = LancerCalcul("'" + chemin + "' --rotation-z 13");
    ASSERT_NE(tape.sortie, arrondi.sortie);
    const auto f = FenetreAvecExemple(chemin);
    auto& rotZ = Enfant<QLineEdit>(*f, "EdRotZ");
    auto& actualiser = Enfant<QPushButton>(*f, "BtActualiserRot");
    rotZ.setText("12.7");
    QTest::mouseClick(&actualiser, Qt::LeftButton);
    for (int t : {1, 2})
        CliquerOnglet(*f, t);
    const std::string ligne = f->Travail().Etude.LbResultats;
    EXPECT_EQ(ligne + "\n", tape.sortie);
    CliquerOnglet(*f, 0);
    EXPECT_EQ(rotZ.text(), "12.7");
    QTest::mouseClick(&actualiser, Qt::LeftButton);
    EXPECT_EQ(rotZ.text(), "12.7");
    EXPECT_EQ(f->Travail().Vue.AngRotZdeg, 12.7);
    for (int t : {1, 2})
        CliquerOnglet(*f, t);
    EXPECT_EQ(f->Travail().Etude.LbResultats, ligne);
}

// A field the study refuses is never saved as a number: "Enregistrer" and Oui at the close
// refuse, name the field and leave the file as it was; the window stays open.
TEST(EtudeFenetre, UnChampRefuseNEstPasEnregistre) {
    struct TCas {
        const char* champ;
        const char* texte;
        const char* nom; // as the message names the field
    };
    for (const TCas& cas : {TCas{"GEdMlinAretier", "150,5", "la masse linéaire de l'arêtier"},
                            TCas{"GEdMsurfVoute", "6000", "la masse surfacique de la voûte"},
                            TCas{"GEdMlinAretier", "", "la masse linéaire de l'arêtier"},
                            TCas{"GEdNbArcsVoute", "2", "le nombre d'arcs de voûte"}})
        for (const bool fermeture : {false, true}) {
            SCOPED_TRACE(std::string(cas.champ) + " « " + cas.texte + " »" +
                         (fermeture ? " à la fermeture" : " par Enregistrer"));
            TDossierTemporaire dossier;
            const std::string chemin = CopieExemple(dossier);
            const std::string avant = LireFichier(chemin);
            const auto f = FenetreAvecExemple(chemin);
            Enfant<QLineEdit>(*f, cas.champ).setText(QString::fromUtf8(cas.texte));
            TReponsesModales modales(fermeture
                                         ? std::deque<TReponsesModales::TReponse>{Oui, Valider}
                                         : std::deque<TReponsesModales::TReponse>{Valider});
            if (fermeture)
                f->close();
            else
                Enfant<QAction>(*f, "MiEnregistrer").trigger();
            EXPECT_TRUE(modales.Epuisees());
            const QString message = modales.Textes().value(fermeture ? 1 : 0);
            EXPECT_TRUE(message.contains(QString::fromUtf8("n'est pas enregistré")))
                << message.toStdString();
            EXPECT_TRUE(message.contains(QString::fromUtf8(cas.nom))) << message.toStdString();
            EXPECT_TRUE(f->isVisible());
            EXPECT_EQ(LireFichier(chemin), avant);
        }
}

// The rotation typed without "Actualiser" is the one used: the study, the close question and
// the saved file take it.
TEST(EtudeFenetre, LaRotationTapeeEstCelleUtilisee) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    const auto f = FenetreAvecExemple(chemin);
    auto& rotZ = Enfant<QLineEdit>(*f, "EdRotZ");
    rotZ.setFocus();
    rotZ.selectAll();
    QTest::keyClicks(&rotZ, "30");
    CliquerOnglet(*f, 1);
    EXPECT_EQ(f->Travail().Vue.AngRotZdeg, 30);
    CliquerOnglet(*f, 0);
    rotZ.setFocus();
    rotZ.selectAll();
    QTest::keyClicks(&rotZ, "45");
    {
        TReponsesModales modales({Oui});
        f->close();
        EXPECT_TRUE(modales.Epuisees());
        EXPECT_EQ(modales.Textes(),
                  QStringList{QString::fromUtf8("les données ont été modifiées, enregistrer?")});
    }
    EXPECT_FALSE(f->isVisible());
    TBancEssai banc;
    ASSERT_TRUE(banc.Travail.ChargerScan(chemin));
    EXPECT_EQ(banc.Travail.Vue.AngRotZdeg, 45);
}

// "Rafraichir" with a field of the structure refused says so, and which values it keeps.
TEST(EtudeFenetre, RafraichirAvecUnChampRefuseLeDit) {
    TDossierTemporaire dossier;
    const auto f = FenetreAvecExemple(CopieExemple(dossier));
    CliquerOnglet(*f, 1);
    const std::int32_t arcs = f->Travail().Etude.NbArcsVoute;
    Enfant<QLineEdit>(*f, "GEdNbArcsVoute").setText("2");
    TReponsesModales modales({Valider});
    QTest::mouseClick(&Enfant<QPushButton>(*f, "BtRafraichirStructure"), Qt::LeftButton);
    EXPECT_TRUE(modales.Epuisees());
    const QString message = modales.Textes().value(0);
    EXPECT_TRUE(message.startsWith(QString::fromUtf8("valeur refusée pour le nombre d'arcs")))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(QString(" %1 arcs").arg(arcs))) << message.toStdString();
    EXPECT_EQ(f->Travail().Etude.NbArcsVoute, arcs);
}

// Quarter 4 studied with its springing level set by the engineer, saved, the window closed and
// the file opened again: the same caption, the same level.
TEST(EtudeFenetre, EnregistreeFermeeRouverteMemeResultat) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    QString legende;
    {
        const auto f = FenetreAvecExemple(chemin);
        CliquerOnglet(*f, 1);
        for (int k = 0; k < 3; ++k)
            QTest::mouseClick(&Enfant<QPushButton>(*f, "BtDeplacerQuartEtudie"), Qt::LeftButton);
        ASSERT_EQ(f->Travail().Etude.RecModl.Q1a4, 4);
        // Over the sample's pier the level read is said uncertain.
        const QString lu = Enfant<QLabel>(*f, "LbNiveauAppui").text();
        EXPECT_TRUE(lu.startsWith(QString::fromUtf8("appui lu dans le relevé : ")))
            << lu.toStdString();
        EXPECT_TRUE(lu.contains(QString::fromUtf8("incertain"))) << lu.toStdString();
        QTest::mouseClick(&Enfant<QCheckBox>(*f, "CkBxNivAppui"), Qt::LeftButton);
        auto& niveau = Enfant<QLineEdit>(*f, "GEdNivAppui");
        niveau.setFocus();
        niveau.selectAll();
        QTest::keyClicks(&niveau, "-4,5");
        CliquerOnglet(*f, 2);
        CliquerOnglet(*f, 3);
        legende = Enfant<QLabel>(*f, "LbResultats").text();
        ASSERT_TRUE(legende.startsWith(QString::fromUtf8("Actions à l'appui")))
            << legende.toStdString();
        EXPECT_EQ(f->Travail().Etude.NiveauAppuiImpose, -4.5);
        Enfant<QAction>(*f, "MiEnregistrer").trigger();
        f->close();
        EXPECT_FALSE(f->isVisible());
    }
    const auto g = FenetreAvecExemple(chemin);
    EXPECT_TRUE(Enfant<QCheckBox>(*g, "CkBxNivAppui").isChecked());
    for (int t : {1, 2, 3})
        CliquerOnglet(*g, t);
    EXPECT_EQ(Enfant<QLabel>(*g, "LbResultats").text(), legende);
}

// Project, author and checker filled once in their dialog: the report shown carries them at
// once, the next sessions keep them; cancelled, nothing changes. The report shows the figure of
// the quarter it names.
TEST(EtudeFenetre, SignatairesEtFigureDuRapport) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    {
        const auto f = FenetreAvecExemple(chemin);
        for (int t : {1, 2, 3})
            CliquerOnglet(*f, t);
        auto& navigateur = Enfant<QTextBrowser>(*f, "WB");
        const QString source = QString::fromStdString(SourceFigure(f->Travail().Etude.FigureNdC));
        EXPECT_TRUE(navigateur.toHtml().contains(source.left(60)));
        const QImage figure = navigateur.document()
                                  ->resource(QTextDocument::ImageResource, QUrl(source))
                                  .value<QImage>();
        ASSERT_FALSE(figure.isNull());
        EXPECT_GE(figure.width(), 460);
        EXPECT_NE(figure.pixel(figure.width() / 2, figure.height() / 2) & 0xffffff, 0u) << "vide";
        const auto remplir = [](const char* projet) {
            return [projet](QWidget& d) {
                Enfant<QLineEdit>(d, "EdProjet").setText(QString::fromUtf8(projet));
                Enfant<QLineEdit>(d, "EdAuteur").setText(QStringLiteral(" J. Martin "));
                Enfant<QLineEdit>(d, "EdVerificateur").setText(QStringLiteral("A. Durand"));
            };
        };
        {
            TReponsesModales modales({[&](QWidget& d) {
                remplir("Travée 3")(d);
                Valider(d);
            }});
            Enfant<QAction>(*f, "MiSignataires").trigger();
            EXPECT_TRUE(modales.Epuisees());
        }
        for (const char* morceau :
             {"Projet : Travée 3", "Auteur : J. Martin", "Vérificateur : A. Durand"})
            EXPECT_TRUE(navigateur.toPlainText().contains(QString::fromUtf8(morceau))) << morceau;
        {
            TReponsesModales modales({[&](QWidget& d) {
                remplir("autre")(d);
                Echap(d);
            }});
            Enfant<QAction>(*f, "MiSignataires").trigger();
            EXPECT_TRUE(modales.Epuisees());
        }
        EXPECT_EQ(f->Travail().Projet, "Travée 3");
    }
    // Kept without the window being closed.
    const auto f = FenetrePrete();
    EXPECT_EQ(f->Travail().Projet, "Travée 3");
    EXPECT_EQ(f->Travail().Auteur, "J. Martin");
    EXPECT_EQ(f->Travail().Verificateur, "A. Durand");
    f->Travail().FixerSignataires("", "", "");
    f->close();
}

// "Enregistrer" of a scan whose folder takes no file (an installed sample's; here a folder that
// does not exist) opens "Enregistrer Sous" in the user's documents, and writes what is chosen.
TEST(EtudeFenetre, EnregistrerHorsDUnDossierQuiNAccepteRien) {
    TDossierTemporaire dossier;
    const std::string chemin = CopieExemple(dossier);
    const auto f = FenetreAvecExemple(chemin);
    f->Travail().PFsansext = dossier.Chemin("installe/voute");
    const std::string choisi = dossier.Chemin("copie.arkl");
    {
        TReponsesModales modales({[&](QWidget& dialogue) {
            auto* d = qobject_cast<QFileDialog*>(&dialogue);
            if (d == nullptr) {
                static_cast<QDialog&>(dialogue).reject();
                FAIL() << "pas de choix de fichier";
            }
            // The folder proposed is the documents', not the one that takes no file.
            EXPECT_FALSE(d->directory().absolutePath().contains(QStringLiteral("installe")))
                << d->directory().absolutePath().toStdString();
            // The name typed in the dialog's own field, as a user would.
            Enfant<QLineEdit>(*d, "fileNameEdit").setText(QString::fromStdString(choisi));
            static_cast<QDialog*>(d)->accept();
        }});
        Enfant<QAction>(*f, "MiEnregistrer").trigger();
        EXPECT_TRUE(modales.Epuisees());
        EXPECT_TRUE(modales.Textes().isEmpty()) << modales.Textes().join("|").toStdString();
    }
    EXPECT_TRUE(std::filesystem::exists(choisi));
    EXPECT_EQ(f->Travail().PFsansext, dossier.Chemin("copie"));
}
