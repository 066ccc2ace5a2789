#include "shell/DialogueSignataires.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit* Champ(QDialog& dialogue, QFormLayout& grille, const char* nom, const QString& libelle,
                 const std::string& valeur) {
    auto* champ = new QLineEdit(QString::fromStdString(valeur), &dialogue);
    champ->setObjectName(QString::fromLatin1(nom));
    champ->setMinimumWidth(320);
    grille.addRow(libelle, champ);
    return champ;
}

} // namespace

bool DemanderSignataires(QWidget* parent, TSignataires& signataires) {
    QDialog dialogue(parent);
    dialogue.setObjectName(QStringLiteral("DlgSignataires"));
    dialogue.setWindowTitle(QStringLiteral("Note de calcul"));
    auto* grille = new QFormLayout(&dialogue);
    auto* explication = new QLabel(
        QStringLiteral("Portés par le rapport, l'export PDF et l'impression, et gardés pour les "
                       "prochaines séances :"));
    explication->setWordWrap(true);
    grille->addRow(explication);
    QLineEdit* projet =
        Champ(dialogue, *grille, "EdProjet", QStringLiteral("Projet :"), signataires.Projet);
    QLineEdit* auteur =
        Champ(dialogue, *grille, "EdAuteur", QStringLiteral("Auteur :"), signataires.Auteur);
    QLineEdit* verificateur = Champ(dialogue, *grille, "EdVerificateur",
                                    QStringLiteral("Vérificateur :"), signataires.Verificateur);
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(boutons, &QDialogButtonBox::accepted, &dialogue, &QDialog::accept);
    QObject::connect(boutons, &QDialogButtonBox::rejected, &dialogue, &QDialog::reject);
    grille->addRow(boutons);
    if (dialogue.exec() != QDialog::Accepted) return false;
    signataires = {projet->text().trimmed().toStdString(), auteur->text().trimmed().toStdString(),
                   verificateur->text().trimmed().toStdString()};
    return true;
}
