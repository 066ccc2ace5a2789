// arkalune-calcul: the program's road without a window, for batch work and end-to-end tests.
// After the load it goes through the four tabs of the study as a user would and prints the
// caption of the results.
// Exit status: 0 done, 1 a file could not be loaded or written or the study was refused,
// 2 bad usage.

#include "LigneDeCommande.h"
#include "PlateformeConsole.h"
#include "fields/SaisieOption.h"
#include "shell/EspaceTravail.h"
#include "shell/OptionsCalcul.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"
#include "util/StringUtils.h"

#ifdef ARKALUNE_PDF
#include "vault/RapportImprime.h"

#include <QGuiApplication>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const DescriptionsOptions =
    "       arkalune-calcul --help | --version\n"
    "  FICHIER               scan ou relevé à charger (.arkl, .xyz, .csv, .txt, .las, .ply,\n"
    "                        .pts, .ptx, .e57)\n"
    "  --niveau N            niveau affiché, 0 à 4 (2 par défaut)\n"
    "  --proprietes          écrit les propriétés du scan\n"
    "  --enregistrer F       enregistre le scan dans F (.arkl ou .xyz), après l'étude\n"
    "  --niveau-enregistre L niveau dont les cubes sont enregistrés (le plus fin par défaut)\n"
    "  --zone X1 Y1 X2 Y2    ne charge que les points du relevé dont la position en plan est\n"
    "                        dans ce rectangle (coordonnées du relevé, bornes comprises)\n"
    "Étude (après le chargement, les quatre onglets sont parcourus comme dans la fenêtre et\n"
    "la ligne des résultats est écrite) :\n"
    "  --rotation-z DEG      rotation de l'affichage autour de Z, en degrés\n"
    "  --quartier Q          quart étudié, 1 à 4, placé d'après la boîte englobante\n"
    "                        (sans elle : 1 pour un scan XYZ, celui enregistré pour un .arkl)\n"
    "  --largeur CM          largeur de l'arc d'arêtier en cm (5 à 200)\n"
    "  --arcs N              nombre d'arcs de voûte (3 à 20)\n"
    "  --masse-lin V         masse linéaire de l'arêtier, daN/ml (20 à 5000)\n"
    "  --masse-surf V        masse surfacique de la voûte, daN/m2 (10 à 5000)\n"
    "  --masse-vol V         masse volumique du remplissage, daN/m3 (0 à 5000, 0 : aucun)\n"
    "  --niveau-remplissage V  niveau du remplissage par rapport à la clé, en m\n"
    "  --niveau-appui Z      niveau d'appui de l'arêtier imposé, par rapport à la clé, en m\n"
    "                        (< 0 sous la clé ; sans elle : lu dans le relevé)\n"
    "  --sensibilite         refait l'étude aux autres niveaux (2 à 4) et sur la grille décalée\n"
    "                        d'un demi-cube en X et en Y ; le rapport et le JSON en donnent\n"
    "                        l'étendue de FX, FY et FZ\n"
    "  --rapport F           écrit le rapport HTML (UTF-8) dans F\n"
    "  --json F|-            écrit toute l'étude en JSON dans F (- : sortie standard, qui ne\n"
    "                        reçoit alors rien d'autre)\n"
    "  --pdf F               écrit le rapport en PDF (A4) dans F\n"
    "  --projet T, --auteur T, --verificateur T\n"
    "                        projet, auteur et vérificateur que le rapport nomme\n"
    "Les valeurs des champs de l'étude sont celles qu'on taperait dans la fenêtre, une\n"
    "expression commençant par \"=\" comprise.\n";

// Its synopsis written from the table of the options, which the help's follows too.
std::string Usage() {
    return SynopsisCalcul("usage : ", 88, 24) + "\n" + DescriptionsOptions;
}

// The study's inputs, in the order of the tabs; the text goes to the field as typed.
struct TOptionChamp {
    const char* option;
    TCustomGenEdit TChampsEtude::*champ;
};
const TOptionChamp OptionsChamps[] = {
    {"--largeur", &TChampsEtude::GEdLargeurAretier},
    {"--arcs", &TChampsEtude::GEdNbArcsVoute},
    {"--masse-lin", &TChampsEtude::GEdMlinAretier},
    {"--masse-surf", &TChampsEtude::GEdMsurfVoute},
    {"--masse-vol", &TChampsEtude::GEdMvolRemplissage},
    {"--niveau-remplissage", &TChampsEtude::GEdNivRemplissage},
    {"--niveau-appui", &TChampsEtude::GEdNivAppui},
};

struct TOptions {
    std::string fichier;
    std::optional<int> niveau;
    bool proprietes = false;
    std::optional<std::string> enregistrer;
    std::optional<int> niveauEnregistre;
    std::optional<TZonePlan> zone;
    std::optional<std::string> rotationZ;
    std::optional<int> quartier;
    bool sensibilite = false;
    std::vector<std::pair<const TOptionChamp*, std::string>> champs;
    std::optional<std::string> rapport;
    std::optional<std::string> json;
    std::optional<std::string> pdf;
    std::string projet, auteur, verificateur;
};

int LireNiveau(const std::string& option, const std::string& texte) {
    std::int64_t v = 0;
    if (!LireEntier(texte, v) || v < 0 || v > 4)
        throw EUsage{"valeur invalide pour " + option + " : « " + texte +
                     " » (entier de 0 à 4 attendu)"};
    return int(v);
}

// Four coordinates of the survey: two opposite corners of the rectangle, in either order.
TZonePlan LireZone(TArguments& args) {
    double v[4];
    for (double& x : v) {
        const std::string& texte = args.Valeur("--zone");
        if (!LireReelSaisi(texte, x) || !std::isfinite(x))
            throw EUsage{"valeur invalide pour --zone : « " + texte +
                         " » (quatre coordonnées X1 Y1 X2 Y2 attendues)"};
    }
    return {std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3])};
}

const TFormatScan& FormatEnregistre(const std::string& chemin) {
    const TFormatScan* format = FormatSelonExtension(chemin);
    if (format == nullptr || format->Ecrivain == nullptr)
        throw EUsage{"--enregistrer : extension .arkl ou .xyz attendue pour « " + chemin + " »"};
    return *format;
}

const TOptionChamp* OptionChamp(const std::string& option) {
    for (const TOptionChamp& c : OptionsChamps)
        if (option == c.option) return &c;
    return nullptr;
}

// The text refused by its field is a usage error: checked on fields of their own, before the
// load (which may bring the field values stored in a binary scan file).
void VerifierChamp(const TOptionChamp& c, const std::string& texte) {
    TChampsEtude essai;
    const std::string raison = AppliquerTexteChamp(essai.*c.champ, texte);
    if (!raison.empty())
        throw EUsage{"valeur refusée pour " + std::string(c.option) + " : « " + texte + " » (" +
                     raison + ")"};
}

TOptions LireOptions(TArguments& args) {
    TOptions o;
    while (args.Reste()) {
        const std::string& a = args.Suivant();
        auto valeur = [&]() -> const std::string& { return args.Valeur(a); };
        if (a == "--niveau")
            o.niveau = LireNiveau(a, valeur());
        else if (a == "--proprietes")
            o.proprietes = true;
        else if (a == "--enregistrer")
            o.enregistrer = valeur();
        else if (a == "--niveau-enregistre")
            o.niveauEnregistre = LireNiveau(a, valeur());
        else if (a == "--zone")
            o.zone = LireZone(args);
        else if (a == "--rotation-z") {
            const std::string& texte = valeur();
            double deg = 0;
            if (!LireReelSaisi(texte, deg) || !std::isfinite(deg))
                throw EUsage{"valeur invalide pour " + a + " : « " + texte +
                             " » (nombre de degrés attendu)"};
            o.rotationZ = texte;
        } else if (a == "--quartier") {
            const std::string& texte = valeur();
            std::int64_t q = 0;
            if (!LireEntier(texte, q) || q < 1 || q > 4)
                throw EUsage{"valeur invalide pour " + a + " : « " + texte +
                             " » (entier de 1 à 4 attendu)"};
            o.quartier = int(q);
        } else if (a == "--sensibilite") {
            o.sensibilite = true;
        } else if (const TOptionChamp* c = OptionChamp(a)) {
            const std::string& texte = valeur();
            VerifierChamp(*c, texte);
            o.champs.emplace_back(c, texte);
        } else if (a == "--rapport")
            o.rapport = valeur();
        else if (a == "--json")
            o.json = valeur();
        else if (a == "--pdf")
            o.pdf = valeur();
        else if (a == "--projet")
            o.projet = valeur();
        else if (a == "--auteur")
            o.auteur = valeur();
        else if (a == "--verificateur")
            o.verificateur = valeur();
        else if (a.size() > 1 && a[0] == '-')
            throw EUsage{"option inconnue : " + a};
        else if (o.fichier.empty())
            o.fichier = a;
        else
            throw EUsage{"un seul fichier à charger : « " + a + " » en trop"};
    }
    if (o.fichier.empty()) throw EUsage{"aucun fichier à charger"};
    if (o.proprietes && o.json == "-")
        throw EUsage{
            "--json - réserve la sortie standard à l'étude : --proprietes ne s'y ajoute pas"};
    if (o.enregistrer) FormatEnregistre(*o.enregistrer);
#ifndef ARKALUNE_PDF
    if (o.pdf)
        throw EUsage{"--pdf : ce programme a été construit sans Qt (ARKALUNE_IHM=OFF), il ne sait "
                     "pas écrire de PDF ; --rapport écrit le rapport en HTML"};
#endif
    return o;
}

#ifdef ARKALUNE_PDF
// The report laid out by Qt on its offscreen platform: no display is needed.
void EcrirePdf(const std::string& chemin, const TEtudeVoute& etude) {
    int argc = 3;
    char nom[] = "arkalune-calcul", option[] = "-platform", plateforme[] = "offscreen";
    char* argv[] = {nom, option, plateforme, nullptr};
    // Qt's remarks on its surroundings (no runtime folder...) are no message for this command.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& texte) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", texte.toLocal8Bit().constData());
    });
    const QGuiApplication application(argc, argv);
    const QByteArray pdf = RapportEnPdf(etude.ResulNdC, etude.Contexte, etude.FigureNdC);
    if (pdf.isEmpty()) throw EErreur("le document PDF n'a pas pu être produit");
    RemplacerFichier(chemin, std::string_view(pdf.constData(), std::size_t(pdf.size())));
}
#else
void EcrirePdf(const std::string&, const TEtudeVoute&) {}
#endif

// The road of the study through the four tabs, as the window's user would go: the display
// settings on "Préparation", the quarter and the structure's inputs on "Structure", the loads
// on "Charges", then "Résultats".
void Etudier(TEspaceTravail& travail, const TOptions& o) {
    travail.Projet = o.projet;
    travail.Auteur = o.auteur;
    travail.Verificateur = o.verificateur;
    if (o.rotationZ) travail.BtActualiserRotClick(*o.rotationZ);
    for (const auto& [c, texte] : o.champs) {
        const std::string raison = AppliquerTexteChamp(travail.Champs.*(c->champ), texte);
        if (!raison.empty()) throw EErreur(std::string(c->option) + " : " + raison);
        // A level given is a level set: the cloud's is no longer read.
        if (c->champ == &TChampsEtude::GEdNivAppui) travail.Champs.CkBxNivAppui = true;
    }
    travail.ChangerOnglet(1);
    // Entering "Structure" kept the quarter stored or placed first, even off the survey.
    if (o.quartier) {
        travail.Etude.RecModl.Q1a4 = *o.quartier;
        travail.PlacerQuartier();
    }
    travail.ChangerOnglet(2);
    travail.ChangerOnglet(3);
    if (o.sensibilite) travail.CalculerSensibilite();
    if (!o.json || *o.json != "-") std::printf("%s\n", travail.Etude.LbResultats.c_str());
    if (o.rapport) RemplacerFichier(*o.rapport, travail.Etude.ResulNdC);
    if (o.pdf) EcrirePdf(*o.pdf, travail.Etude);
    if (o.json) {
        const std::string json = travail.EtudeEnJson() + "\n";
        if (*o.json == "-")
            std::fwrite(json.data(), 1, json.size(), stdout);
        else
            RemplacerFichier(*o.json, json);
    }
}

int Executer(const TOptions& o) {
    TPlateformeConsole plateforme;
    TEspaceTravail travail(plateforme);
    travail.ZoneDeChargement = o.zone;
    if (!travail.ChargerScan(o.fichier)) return EchecFichier;
    if (!travail.BilanChargement.empty())
        std::fprintf(stderr, "%s\n", travail.BilanChargement.c_str());
    if (o.niveau) travail.FixerNiveauAffiche(*o.niveau);
    if (o.proprietes) std::printf("%s\n", travail.Proprietes().c_str());
    if (!travail.Executer([&] { Etudier(travail, o); })) return EchecFichier;
    if (o.enregistrer) {
        const TFormatScan& format = FormatEnregistre(*o.enregistrer);
        const int niveau = o.niveauEnregistre.value_or(travail.Scan.NivMax);
        if (niveau > travail.Scan.NivMax)
            throw EUsage{"--niveau-enregistre : le scan n'a pas de niveau " +
                         std::to_string(niveau) +
                         " (niveau le plus fin : " + std::to_string(travail.Scan.NivMax) + ")"};
        if (!travail.Executer([&] { travail.EnregistrerSous(*o.enregistrer, &format, niveau); }))
            return EchecFichier;
    }
    return Reussite;
}

} // namespace

int main(int argc, char** argv) {
    return ExecuterCommande("arkalune-calcul", Usage().c_str(), argc, argv,
                            [](TArguments& args) { return Executer(LireOptions(args)); });
}
