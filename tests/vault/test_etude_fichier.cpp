#include "NuageEssai.h"
#include "scan/FichierArkl.h"
#include "support/AttendreErreur.h"
#include "support/LancerCalcul.h"
#include "util/Erreurs.h"

#include <cmath>
#include <cstring>

using EtudeFichier = TEtudeEssai;

// The binary scan file carries the study: reopened, it resumes where it was left.
TEST_F(EtudeFichier, LeBlocDEtudeFaitLAllerRetour) {
    TNuage baie;
    baie.hauteur = Dome(baie, 1, 3.5);
    Charger(baie);
    const struct {
        TCustomGenEdit TChampsEtude::*champ;
        const char* texte;
    } saisies[] = {
        {&TChampsEtude::GEdLargeurAretier, "35"},    {&TChampsEtude::GEdNbArcsVoute, "7"},
        {&TChampsEtude::GEdMlinAretier, "250"},      {&TChampsEtude::GEdMsurfVoute, "300"},
        {&TChampsEtude::GEdMvolRemplissage, "1800"}, {&TChampsEtude::GEdNivRemplissage, "-1.25"}};
    for (const auto& s : saisies)
        (T.Champs.*s.champ).TypeText(s.texte);
    T.Etude.RecModl.Q1a4 = 3;
    T.PlacerQuartier();
    T.CmBxPtFrontIndex = 3; // "quartier 2", moved by hand
    T.CmBxPtFrontCloseUp();
    T.SBtDeplClick(3);
    T.ChangerOnglet(1);
    T.ChangerOnglet(2);
    T.PFsansext = Dossier.Chemin("etude");
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));

    TBancEssai autre;
    TEspaceTravail& U = autre.Travail;
    ASSERT_TRUE(U.ChargerScan(Dossier.Chemin("etude.arkl")));
    EXPECT_EQ(std::memcmp(&U.Etude.RecModl, &T.Etude.RecModl, sizeof(TRectangleModelisation)), 0);
    for (const auto& s : saisies) {
        TCustomGenEdit& lu = U.Champs.*s.champ;
        TCustomGenEdit& ecrit = T.Champs.*s.champ;
        if (s.champ == &TChampsEtude::GEdNivRemplissage)
            EXPECT_EQ(lu.ValeurD(), ecrit.ValeurD());
        else
            EXPECT_EQ(lu.ValeurI(), ecrit.ValeurI()) << s.texte;
    }
    // The stored quarter, moved point included, is studied again: the same report.
    U.ChangerOnglet(1);
    U.ChangerOnglet(2);
    EXPECT_EQ(U.Etude.LbResultats, T.Etude.LbResultats);
    // The same report but for its file name and date.
    const auto etude = [](const std::string& r) { return r.substr(r.find("<P><B>HYPOTHESES")); };
    EXPECT_EQ(etude(U.Etude.ResulNdC), etude(T.Etude.ResulNdC));
    EXPECT_NE(U.Etude.ResulNdC.find("Fichier du relevé : etude.arkl<BR>"), std::string::npos);
    EXPECT_NE(U.Etude.ResulNdC.find("Quadrant étudié : X-,Y-"), std::string::npos);
}

// A study block whose values their fields refuse (a file written by something else, or damaged):
// each field shows the value read, in the error colour, and the loads are refused, naming the
// field, instead of being computed with it.
TEST_F(EtudeFichier, DesValeursRefuseesParLeursChampsArretentLeCalcul) {
    TNuage baie;
    baie.hauteur = Dome(baie, 1, 3.5);
    Charger(baie);
    T.PFsansext = Dossier.Chemin("etude");
    ASSERT_TRUE(T.EnregistrerScan(FormatArkl(), T.Scan.NivMax));
    const std::string valide = LireFichier(Dossier.Chemin("etude.arkl"));
    using TModification = void (*)(TEnTeteArkl&);
    const struct {
        TModification modifier;
        TCustomGenEdit TChampsEtude::*champ;
        const char* texte;
        const char* message;
    } cas[] = {
        {[](TEnTeteArkl& e) { e.MlinAretier = -100000; }, &TChampsEtude::GEdMlinAretier, "-100000",
         "valeur refusée pour la masse linéaire de l'arêtier : « -100000 » (entier de 20 à 5000 "
         "attendu)"},
        {[](TEnTeteArkl& e) { e.MsurfVoute = 0; }, &TChampsEtude::GEdMsurfVoute, "0",
         "valeur refusée pour la masse surfacique de la voûte : « 0 » (entier de 10 à 5000 "
         "attendu)"},
        {[](TEnTeteArkl& e) { e.MvolRemplissage = 6000; }, &TChampsEtude::GEdMvolRemplissage,
         "6000",
         "valeur refusée pour la masse volumique du remplissage : « 6000 » (entier de 0 à 5000 "
         "attendu)"},
        {[](TEnTeteArkl& e) { e.LargeurAretier = 1000; }, &TChampsEtude::GEdLargeurAretier, "1000",
         "valeur refusée pour la largeur de l'arc d'arêtier : « 1000 » (entier de 5 à 200 "
         "attendu)"},
        {[](TEnTeteArkl& e) { e.NbArcsVoute = 0; }, &TChampsEtude::GEdNbArcsVoute, "0",
         "valeur refusée pour le nombre d'arcs de voûte : « 0 » (entier de 3 à 20 attendu)"},
        {[](TEnTeteArkl& e) { e.NivRemplissage = std::nan(""); }, &TChampsEtude::GEdNivRemplissage,
         "NAN", "valeur refusée pour le niveau du remplissage : « NAN » (réel attendu)"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        std::string octets = valide;
        auto* enTete = reinterpret_cast<std::byte*>(octets.data() + 8);
        TEnTeteArkl e = DecoderEnTete(3, enTete);
        c.modifier(e);
        const auto encode = EncoderEnTete(e);
        std::memcpy(enTete, encode.data(), TailleEnTete(3));
        const std::string faux = Dossier.Chemin("faux.arkl");
        EcrireFichier(faux, octets);

        TBancEssai banc;
        TEspaceTravail& U = banc.Travail;
        ASSERT_TRUE(U.ChargerScan(faux));
        TCustomGenEdit& champ = U.Champs.*c.champ;
        EXPECT_EQ(champ.Text(), c.texte);
        EXPECT_FALSE(champ.ValOK());
        EXPECT_EQ(champ.Couleur(), CouleurRouge);
        EXPECT_TRUE(U.ChangerOnglet(1));
        AttendreErreur<EErreur>([&] { U.ChangerOnglet(2); }, c.message);
        EXPECT_EQ(U.Etude.LbResultats, " ");
        EXPECT_TRUE(U.Etude.ResulNdC.empty());

        // The batch command refuses it the same way: no result printed.
        const TResultatCommande r = LancerCalcul(faux);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.erreurs, std::string(c.message) + "\n");
        EXPECT_TRUE(r.sortie.empty());
    }
}
