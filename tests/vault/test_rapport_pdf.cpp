// The report as a PDF from the batch command, read back with poppler's pdftotext: A4 pages, text
// at a readable size, headings on the page of their tables, numbered pages.

#include "support/LancerCalcul.h"
#include "support/Temporaire.h"
#include "util/Version.h"
#include "vault/RapportImprime.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace {

struct TMot {
    int page;
    double hauteur;
    std::string texte;
    double haut = 0; // from the top of the page, in points
};

// The running header lies in the top margin (18 mm) and the line under it.
constexpr double BasEnTete = 68;

struct TPdfLu {
    std::vector<std::pair<double, double>> pages; // width, height in points
    std::vector<TMot> mots;
};

TPdfLu LirePdf(const std::string& chemin) {
    TDossierTemporaire dossier;
    const std::string xhtml = dossier.Chemin("mots.html");
    EXPECT_EQ(std::system(("pdftotext -bbox '" + chemin + "' '" + xhtml + "'").c_str()), 0);
    const std::string texte = LireFichier(xhtml);
    TPdfLu pdf;
    const std::regex element(
        R"re(<page width="([0-9.]+)" height="([0-9.]+)">|<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator i(texte.begin(), texte.end(), element), fin; i != fin; ++i) {
        const std::smatch& m = *i;
        if (m[1].matched)
            pdf.pages.emplace_back(std::stod(m[1]), std::stod(m[2]));
        else
            pdf.mots.push_back(
                {int(pdf.pages.size()), std::stod(m[4]) - std::stod(m[3]), m[5], std::stod(m[3])});
    }
    return pdf;
}

} // namespace

TEST(RapportPdf, LisibleSurDesPagesA4NumeroteesTitresAvecLeursTables) {
    TDossierTemporaire dossier;
    const std::string pdf = dossier.Chemin("rapport.pdf");
    // No display: the command lays the report out on Qt's offscreen platform.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
    const char* const options[] = {"", "--arcs 20 --rotation-z 30",
                                   "--arcs 20 --niveau 3 --masse-vol 1800"};
    for (const char* o : options) {
        SCOPED_TRACE(o);
        const TResultatCommande r = LancerCalcul(std::string(ARKALUNE_SOURCES) +
                                                 "/exemples/voute.arkl " + o + " --pdf " + pdf);
        ASSERT_EQ(r.code, 0) << r.erreurs;
        EXPECT_EQ(r.erreurs, "");
        const TPdfLu lu = LirePdf(pdf);
        ASSERT_FALSE(lu.pages.empty());
        for (const auto& [largeur, hauteur] : lu.pages) {
            EXPECT_NEAR(largeur, 595, 1);
            EXPECT_NEAR(hauteur, 842, 1);
        }
        const int nbPages = int(lu.pages.size());
        // Every page under the running header: program, version, survey and date.
        std::vector<std::string> tetes(static_cast<std::size_t>(nbPages));
        for (const TMot& m : lu.mots)
            if (m.haut < BasEnTete) tetes[std::size_t(m.page - 1)] += m.texte + " ";
        for (const std::string& t : tetes)
            EXPECT_EQ(t, std::string("Arkalune ") + VersionArkalune +
                             " · voute.arkl · 05/12/2026 à 00:00 ");
        std::vector<int> numeros;
        bool blocTitre = true; // up to the first section, "ETUDE :"
        for (std::size_t i = 0; i < lu.mots.size(); ++i) {
            const TMot& m = lu.mots[i];
            if (m.haut < BasEnTete) continue;
            if (m.texte == "page") {
                // The foot of the page: "page k / n", small but readable.
                ASSERT_LT(i + 3, lu.mots.size() + 1);
                numeros.push_back(std::stoi(lu.mots[i + 1].texte));
                EXPECT_EQ(lu.mots[i + 3].texte, std::to_string(nbPages));
                EXPECT_GT(m.hauteur, 8.5);
                i += 3;
                continue;
            }
            blocTitre = blocTitre && m.texte != "ETUDE";
            if (blocTitre) {
                EXPECT_EQ(m.page, 1);
                EXPECT_GT(m.hauteur, m.texte == "Arkalune" ? 17 : 13) << m.texte;
                continue;
            }
            // Body text at 10 pt: its words are about 11.5 pt high with their ascent and descent.
            EXPECT_GE(m.hauteur, 10.5) << m.texte;
            EXPECT_LE(m.hauteur, 12.6) << m.texte;
            // "Actions d'appui des arcs ... :" stays with the first table's values.
            if (m.texte == "Actions" && i + 1 < lu.mots.size() &&
                lu.mots[i + 1].texte == "d'appui") {
                std::size_t j = i;
                while (j < lu.mots.size() && lu.mots[j].texte != "n°")
                    ++j;
                ASSERT_LT(j + 3, lu.mots.size());
                EXPECT_EQ(lu.mots[j + 3].page, m.page);
            }
            // "Arcs de droite :" starts its table's page, and heads it again where it runs on.
            if (m.texte == "Arcs" && i + 4 < lu.mots.size()) {
                EXPECT_EQ(lu.mots[i + 4].texte, "n°");
                EXPECT_EQ(lu.mots[i + 4].page, m.page) << lu.mots[i + 2].texte;
            }
        }
        std::vector<int> attendus;
        for (int p = 1; p <= nbPages; ++p)
            attendus.push_back(p);
        EXPECT_EQ(numeros, attendus);
        // The title block names the file and the date.
        std::string premiere;
        for (const TMot& m : lu.mots)
            if (m.page == 1) premiere += m.texte + " ";
        EXPECT_NE(premiere.find("Fichier du relevé : voute.arkl Date du calcul : 05/12/2026 à "
                                "00:00"),
                  std::string::npos);
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

// The note handed to a client: the figure of the quarter drawn in it, its author and subject in
// the document's metadata.
TEST(RapportPdf, FigureEtDescriptionDuDocument) {
    TDossierTemporaire dossier;
    const std::string pdf = dossier.Chemin("rapport.pdf");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const TResultatCommande r =
        LancerCalcul(std::string(ARKALUNE_SOURCES) + "/exemples/voute.arkl --pdf " + pdf +
                     " --auteur 'J. Martin & fils' --projet 'Travée <3>'");
    ASSERT_EQ(r.code, 0) << r.erreurs;
    const TResultatCommande images = LancerCommande("pdfimages -list '" + pdf + "'");
    // Two title lines, then one line per image.
    EXPECT_EQ(std::count(images.sortie.begin(), images.sortie.end(), '\n'), 3) << images.sortie;
    const TResultatCommande meta = LancerCommande("pdfinfo -meta '" + pdf + "'");
    for (const char* morceau :
         {"<dc:creator><rdf:Seq><rdf:li>J. Martin &amp; fils</rdf:li>",
          "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">Travée &lt;3&gt; · voute.arkl<",
          "<xmp:CreatorTool>Arkalune "})
        EXPECT_NE(meta.sortie.find(morceau), std::string::npos) << meta.sortie;
}

// Many short paragraphs cut into lines over many pages: every line is printed, once, and each
// heading on the page of its first line.
TEST(RapportPdf, ToutesLesLignesSurDesPagesSuccessives) {
    int argc = 3;
    char nom[] = "test", option[] = "-platform", plateforme[] = "offscreen";
    char* argv[] = {nom, option, plateforme, nullptr};
    const QGuiApplication application(argc, argv);
    constexpr int NbSections = 150;
    std::string html;
    std::vector<std::string> attendus;
    for (int section = 1; section <= NbSections; ++section) {
        html += "<P><B>TITRE " + std::to_string(section) + " :</B></P><P>";
        attendus.insert(attendus.end(), {"TITRE", std::to_string(section), ":"});
        for (int ligne = 0; ligne < section % 4; ++ligne) {
            html += " ligne<BR>";
            attendus.push_back("ligne");
        }
        html += " fin</P>";
        attendus.push_back("fin");
    }
    const QByteArray pdf = RapportEnPdf(html, {});
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("sections.pdf"),
                  std::string(pdf.constData(), std::size_t(pdf.size())));
    const TPdfLu lu = LirePdf(dossier.Chemin("sections.pdf"));
    EXPECT_GE(lu.pages.size(), 8u);
    // The words of the sections, without the title block and the feet of the pages.
    std::vector<std::string> lus;
    bool titre = true;
    for (std::size_t i = 0; i < lu.mots.size(); ++i) {
        if (lu.mots[i].haut < BasEnTete) continue;
        titre = titre && lu.mots[i].texte != "TITRE";
        if (lu.mots[i].texte == "page")
            i += 3;
        else if (!titre)
            lus.push_back(lu.mots[i].texte);
        if (lu.mots[i].texte == "TITRE" && i + 3 < lu.mots.size()) {
            EXPECT_EQ(lu.mots[i + 3].page, lu.mots[i].page) << "TITRE " << lu.mots[i + 1].texte;
        }
    }
    EXPECT_EQ(lus, attendus);
}
