// "Fichiers": the save question, the open and save dialogs, the load and the save.

#include "shell/FArkalune.h"
#include "util/DossierModifiable.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace {

const QString TousLesFichiers = QStringLiteral("tous les fichiers (*.*)");

// "relevé LAS (*.las)"
QString FiltreDuFormat(const TFormatScan& format) {
    QStringList motifs;
    for (const std::string& e : format.Extensions)
        motifs << QStringLiteral("*") + QString::fromStdString(e);
    return QString::fromUtf8(format.Nom) + QStringLiteral(" (") + motifs.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

// Every format read, together and by name with its extensions; only what is read is offered.
QString FiltreOuvrir() {
    QStringList filtres{TousLesFichiers}, motifs;
    for (const TFormatScan& f : FormatsScan())
        if (f.Propose) {
            filtres << FiltreDuFormat(f);
            for (const std::string& e : f.Extensions)
                motifs << QStringLiteral("*") + QString::fromStdString(e);
        }
    filtres.insert(1, QStringLiteral("relevés et scans lus (") + motifs.join(QLatin1Char(' ')) +
                          QLatin1Char(')'));
    return filtres.join(QStringLiteral(";;"));
}

// The user's documents, never the folder the program was started from or built in.
QString DossierDocuments() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

QString TFArkalune::DossierOuvrir() {
    // The last scan's folder while it exists.
    const QString dernier = QString::fromStdString(Travail().DernierScan);
    if (!dernier.isEmpty() && QFileInfo(dernier).isDir()) return dernier;
    return DossierDocuments();
}

QString TFArkalune::CheminPropose(const QString& extension) const {
    // An installed sample's folder takes no file: the user's documents then.
    const QFileInfo scan(QString::fromStdString(Travail().PFsansext));
    const QString nom = scan.fileName().isEmpty() ? QStringLiteral("Arkalune") : scan.fileName();
    const QString dossier =
        !Travail().PFsansext.empty() && DossierModifiable(scan.absolutePath().toStdString())
            ? scan.absolutePath()
            : DossierDocuments();
    return dossier + QLatin1Char('/') + nom + extension;
}

std::string TFArkalune::EnregistrerAilleurs(const std::string& cible) {
    const QString nom = QFileInfo(QString::fromStdString(cible)).fileName();
    return QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer Sous"),
                                        DossierDocuments() + QLatin1Char('/') + nom,
                                        FiltreDuFormat(FormatArkl()))
        .toStdString();
}

void TFArkalune::RemplirFichiersRecents(QMenu& menu) {
    menu.clear();
    for (const std::string& chemin : Travail().Recents.Liste()) {
        const QString nom = QString::fromStdString(chemin);
        // A file moved or removed since is not offered.
        if (!QFileInfo(nom).isFile()) continue;
        QAction* a = menu.addAction(nom, this, [this, nom] { OuvrirFichier(nom); });
        a->setObjectName(QStringLiteral("MiFichierRecent%1").arg(menu.actions().size()));
    }
    if (menu.isEmpty()) menu.addAction(QStringLiteral("aucun fichier récent"))->setEnabled(false);
}

void TFArkalune::MiOuvrirClick() {
    Commande([this] {
        TEspaceTravail& t = Travail();
        if (!t.DemanderEnregistrement()) return;
        const QString chemin = QFileDialog::getOpenFileName(this, QStringLiteral("Ouvrir"),
                                                            DossierOuvrir(), FiltreOuvrir());
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
        QFileDialog dialogue(this, QStringLiteral("Enregistrer Sous"), CheminPropose(QString()));
        dialogue.setAcceptMode(QFileDialog::AcceptSave);
        QStringList filtres;
        std::vector<const TFormatScan*> ecrits;
        for (const TFormatScan& f : FormatsScan())
            if (f.Ecrivain != nullptr) {
                filtres << FiltreDuFormat(f);
                ecrits.push_back(&f);
            }
        dialogue.setNameFilters(filtres << TousLesFichiers);
        if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return;
        const QString choisi = dialogue.selectedFiles().first();
        const QString filtre = dialogue.selectedNameFilter();
        const qsizetype choix = filtres.indexOf(filtre);
        const TFormatScan* format =
            choix >= 0 && std::size_t(choix) < ecrits.size() ? ecrits[std::size_t(choix)] : nullptr;
        // The dialog has asked before replacing the file chosen.
        t.EnregistrerSous(choisi.toStdString(), format,
                          niveauAffiche ? t.Scan.NivAffiche : t.Scan.NivMax);
    });
}
