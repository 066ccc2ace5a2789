// The study's commands: each hands the scan, the view's turn and the fields' values to the
// study, shows what it has to say and asks for the redrawing.

#include "shell/EspaceTravail.h"
#include "util/DateCalcul.h"
#include "util/Fichiers.h"
#include "util/Format.h"
#include "util/StringUtils.h"
#include "vault/EtudeJson.h"

#include <cmath>
#include <filesystem>

#include <optional>

namespace {

// A field's value when it holds a valid one; otherwise the study keeps its own.
std::optional<std::int32_t> ValeurValide(TCustomGenEdit& champ) {
    if (!champ.ValOK()) return std::nullopt;
    return champ.ValeurI();
}

void AfficherMessages(TPlateforme& plateforme, const std::vector<std::string>& messages) {
    for (const std::string& m : messages)
        plateforme.AfficherErreur(m);
}

} // namespace

TScanEtudie TEspaceTravail::ScanEtudie() {
    return {Scan.CubesAffiches, ReleveAffiches.AJour(Scan.CubesAffiches, Scan.VersionAffiches),
            Corps.Min, Corps.Max, TailleNiv[std::size_t(Scan.NivAffiche)]};
}

void TEspaceTravail::PlacerQuartier() {
    Etude.PlacerQuartier(ScanEtudie());
    ActualiserStructure();
}

void TEspaceTravail::CalculerBordsAretier() {
    Etude.CalculerBordsAretier();
}

std::optional<double> TEspaceTravail::NiveauAppuiImpose() {
    if (!Champs.CkBxNivAppui) return std::nullopt;
    // A field in error keeps the level the study had.
    if (!Champs.GEdNivAppui.ValOK()) return Etude.NiveauAppuiImpose;
    return Champs.GEdNivAppui.ValeurD();
}

void TEspaceTravail::CkBxNivAppuiClick(bool coche) {
    Champs.CkBxNivAppui = coche;
    // The engineer starts from the level read, to the centimetre.
    if (coche && Etude.StructureConstruite())
        Champs.GEdNivAppui.EcrireValeurD(std::round(Etude.Lecture.NiveauAppuiLu * 100) / 100);
}

std::string TEspaceTravail::TexteNiveauAppui() const {
    if (!Etude.StructureConstruite()) return {};
    const TLectureHauteurs& l = Etude.Lecture;
    std::string t = Formater("appui lu dans le relevé : %.2f m", l.NiveauAppuiLu);
    if (l.AppuiAmbigu())
        t += Formater(" (incertain : %.2f m de hauteur sous l'appui)", double(l.EtendueAppui));
    return t;
}

void TEspaceTravail::ActualiserStructure() {
    Etude.NiveauAppuiImpose = NiveauAppuiImpose();
    AfficherMessages(Plateforme,
                     Etude.ActualiserStructure(ScanEtudie(), ValeurValide(Champs.GEdLargeurAretier),
                                               ValeurValide(Champs.GEdNbArcsVoute)));
    RetracerTout();
}

void TEspaceTravail::BtRafraichirStructureClick() {
    ActualiserStructure();
    if (const std::string refus = Champs.ValeurRefusee(true); !refus.empty())
        Plateforme.AfficherErreur(refus + " ; la structure garde " +
                                  std::to_string(std::lround(double(Etude.LargeurAretierM) * 100)) +
                                  " cm et " + std::to_string(Etude.NbArcsVoute) + " arcs");
}

void TEspaceTravail::BtDeplacerQuartEtudieClick() {
    Etude.QuartierSuivant(ScanEtudie());
    ActualiserStructure();
    Plateforme.RedessinerVue();
}

void TEspaceTravail::SBtDeplClick(int tag) {
    if (Etude.DeplacerPointFrontiere(PtFrontSel1a4, tag, Plateforme.ShiftEnfonce(), Vue.McbRotZ2))
        Plateforme.RedessinerVue();
}

void TEspaceTravail::ConstruireStructure() {
    AfficherMessages(Plateforme, Etude.ConstruireStructure(ScanEtudie()));
}

bool TEspaceTravail::StructureConstruite() const {
    return Etude.StructureConstruite();
}

void TEspaceTravail::CalculerCharges() {
    // A field in error (typed, or read from a scan file) would be used as its text reads.
    if (const std::string refus = Champs.ValeurRefusee(); !refus.empty())
        Etude.RefuserCalcul(refus);
    // A name in another encoding than UTF-8 would make the report and the JSON invalid.
    Etude.Contexte = {.FichierScan =
                          Utf8Valide(TexteChemin(CheminFs(PFsansext + ExtScan).filename())),
                      .Date = DateDuCalcul(),
                      .NivAffiche = Scan.NivAffiche,
                      .AngRotZdeg = Vue.AngRotZdeg,
                      .Decalage = Scan.Decalage,
                      .Projet = Projet,
                      .Auteur = Auteur,
                      .Verificateur = Verificateur};
    Etude.CalculerCharges({.MasseLinAretier = double(Champs.GEdMlinAretier.ValeurI()),
                           .MasseSurfVoute = double(Champs.GEdMsurfVoute.ValeurI()),
                           .MasseVolRemplissage = double(Champs.GEdMvolRemplissage.ValeurI()),
                           .NiveauRemplissage = Champs.GEdNivRemplissage.ValeurD()},
                          Vue.McbRotZ2);
}

void TEspaceTravail::BtCalculerChargesClick() {
    CalculerCharges();
    RetracerTout();
}

void TEspaceTravail::RedigerResultats() {
    Etude.RedigerResultats();
}

void TEspaceTravail::FixerSignataires(const std::string& projet, const std::string& auteur,
                                      const std::string& verificateur) {
    Projet = projet;
    Auteur = auteur;
    Verificateur = verificateur;
    if (Etude.ResulNdC.empty()) return;
    Etude.Contexte.Projet = projet;
    Etude.Contexte.Auteur = auteur;
    Etude.Contexte.Verificateur = verificateur;
    Etude.RedigerResultats();
}

std::string TEspaceTravail::EtudeEnJson() const {
    return ::EtudeEnJson(Etude, Scan, Vue.AngRotZdeg);
}

void TEspaceTravail::FixerCkBxEdFront(bool coche) {
    if (CkBxEdFront == coche) return;
    CkBxEdFront = coche;
    CkBxEdFrontClick();
}

void TEspaceTravail::CkBxEdFrontClick() {
    if (CkBxEdFront && CmBxPtFrontIndex == 0) CmBxPtFrontIndex = 1;
    CmBxPtFrontCloseUp();
}

void TEspaceTravail::CmBxPtFrontCloseUp() {
    PtFrontSel1a4 = CmBxPtFrontIndex + 1;
    FixerCkBxEdFront(true);
    Plateforme.RedessinerVue();
}
