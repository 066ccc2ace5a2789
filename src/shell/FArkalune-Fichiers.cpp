// "Fichiers": the save question, the open and save dialogs, the load and the save.

#include "shell/FArkalune.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString FiltreOuvrir =
    QStringLiteral("tous les fichiers (*.*);;fichier Arkalune (*.arkl);;fichier XYZ ascii (*.xyz);;"
                   "fichier XYZ binaire (*.xyb)");
const QString FiltresEnregistrer[] = {QStringLiteral("fichier Arkalune (*.arkl)"),
                                      QStringLiteral("fichier XYZ ascii (*.xyz)"),
                                      QStringLiteral("tous les fichiers (*.*)")};

} // namespace

void TFArkalune::MiOuvrirClick() {
    Commande([this] {
        TEspaceTravail& t = Travail();
        if (!t.DemanderEnregistrement()) return;
        const QString depart = t.DernierScan.empty() ? QCoreApplication::applicationDirPath()
                                                     : QString::fromStdString(t.DernierScan);
        const QString chemin =
            QFileDialog::getOpenFileName(this, QStringLiteral("Ouvrir"), depart, FiltreOuvrir);
        if (!chemin.isEmpty()) t.OuvrirScan(chemin.toStdString());
    });
}

void TFArkalune::OuvrirFichier(const QString& chemin) {
    Commande([this, &chemin] {
        // Absolute: the folder kept for the next run must not depend on where it was started.
        if (Travail().DemanderEnregistrement())
            Travail().OuvrirScan(QFileInfo(chemin).absoluteFilePath().toStdString());
    });
}

void TFArkalune::EnregistrerSous(bool niveauAffiche) {
    Commande([this, niveauAffiche] {
        TEspaceTravail& t = Travail();
        QFileDialog dialogue(this, QStringLiteral("Enregistrer Sous"),
                             QString::fromStdString(t.PFsansext));
        dialogue.setAcceptMode(QFileDialog::AcceptSave);
        dialogue.setNameFilters(
            {FiltresEnregistrer[0], FiltresEnregistrer[1], FiltresEnregistrer[2]});
        if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return;
        const QString choisi = dialogue.selectedFiles().first();
        const QString filtre = dialogue.selectedNameFilter();
        const int genre = filtre == FiltresEnregistrer[0]   ? 1
                          : filtre == FiltresEnregistrer[1] ? 2
                                                            : 0;
        // The dialog has asked before replacing the file chosen.
        t.EnregistrerSous(choisi.toStdString(), genre,
                          niveauAffiche ? t.Scan.NivAffiche : t.Scan.NivMax);
    });
}
