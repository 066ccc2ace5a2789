// "Fichiers": the save question, the open and save dialogs, the load and the save.

#include "shell/FArkalune.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

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

} // namespace

void TFArkalune::MiOuvrirClick() {
    Commande([this] {
        TEspaceTravail& t = Travail();
        if (!t.DemanderEnregistrement()) return;
        const QString depart = t.DernierScan.empty() ? QCoreApplication::applicationDirPath()
                                                     : QString::fromStdString(t.DernierScan);
        const QString chemin =
            QFileDialog::getOpenFileName(this, QStringLiteral("Ouvrir"), depart, FiltreOuvrir());
        if (!chemin.isEmpty()) t.ChargerScan(chemin.toStdString());
    });
}

void TFArkalune::OuvrirFichier(const QString& chemin) {
    Commande([this, &chemin] {
        // Absolute: the folder kept for the next run must not depend on where it was started.
        if (Travail().DemanderEnregistrement())
            Travail().ChargerScan(QFileInfo(chemin).absoluteFilePath().toStdString());
    });
}

void TFArkalune::EnregistrerSous(bool niveauAffiche) {
    Commande([this, niveauAffiche] {
        TEspaceTravail& t = Travail();
        QFileDialog dialogue(this, QStringLiteral("Enregistrer Sous"),
                             QString::fromStdString(t.PFsansext));
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
        t.FixerTitre(choisi.toStdString());
        // The extension typed is kept when it is the chosen kind's in another case, replaced by
        // the kind's otherwise.
        const QFileInfo info(choisi);
        t.PFsansext = (info.path() + QLatin1Char('/') + info.completeBaseName()).toStdString();
        t.ExtScan = info.suffix().isEmpty() ? std::string() : "." + info.suffix().toStdString();
        if (format != nullptr)
            t.EnregistrerScan(*format, niveauAffiche ? t.Scan.NivAffiche : t.Scan.NivMax);
    });
}
