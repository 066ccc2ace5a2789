#include "EcritureReleves.h"

#include "scan/Decalage.h"
#include "scan/FormatXYZ.h"
#include "scan/FormatsScan.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Text is written in blocks of about this size.
constexpr std::size_t Bloc = std::size_t(1) << 20;

// A coordinate as a survey gives it: below the bound of the program's shift, the 32-bit value
// the program keeps for it; beyond, in full, as a survey in a national grid has it.
double CoordonneeLevee(double v) {
    return std::fabs(v) < SeuilDecalage ? double(static_cast<float>(v)) : v;
}

void AjouterReel(std::string& texte, double v, char virgule = '.') {
    char t[64];
    const char* fin = std::to_chars(t, t + sizeof t, v, std::chars_format::fixed, 8).ptr;
    if (virgule != '.') std::replace(t, t + (fin - t), '.', virgule);
    texte.append(t, std::size_t(fin - t));
}

void AjouterEntier(std::string& texte, int v) {
    texte += std::to_string(v);
}

// Text lines written through a temporary file.
template <class F>
void EcrireTexte(const TParametresVoute& parametres, const std::string& chemin,
                 const std::string& debut, F&& ligne) {
    TFichierTemporaire fichier(chemin);
    std::string texte = debut;
    PointsDuReleve(parametres, [&](const TV3R& p, const TV4By& c) {
        ligne(texte, p, c);
        if (texte.size() >= Bloc) {
            fichier.Ecrire(texte.data(), texte.size());
            texte.clear();
        }
    });
    fichier.Ecrire(texte.data(), texte.size());
    fichier.Valider();
}

void AjouterPoint(std::string& texte, const TV3R& p, char separateur, char virgule) {
    for (int a = 0; a < 3; ++a) {
        if (a > 0) texte += separateur;
        AjouterReel(texte, p[a], virgule);
    }
}

void AjouterCouleur(std::string& texte, const TV4By& c, char separateur) {
    for (std::size_t k = 0; k < 3; ++k) {
        texte += separateur;
        AjouterEntier(texte, c[k]);
    }
}

// French spreadsheet export: ";" and decimal commas, a header.
void EcrireCSV(const TParametresVoute& parametres, const std::string& chemin) {
    EcrireTexte(parametres, chemin, "X;Y;Z;R;G;B\r\n",
                [](std::string& t, const TV3R& p, const TV4By& c) {
                    AjouterPoint(t, p, ';', ',');
                    AjouterCouleur(t, c, ';');
                    t += "\r\n";
                });
}

void EcrirePTS(const TParametresVoute& parametres, const std::string& chemin) {
    EcrireTexte(parametres, chemin, std::to_string(parametres.NbPoints) + "\n",
                [](std::string& t, const TV3R& p, const TV4By& c) {
                    AjouterPoint(t, p, ' ', '.');
                    t += " -1200";
                    AjouterCouleur(t, c, ' ');
                    t += '\n';
                });
}

// One scan of NbPoints columns and one row, at the identity.
void EcrirePTX(const TParametresVoute& parametres, const std::string& chemin) {
    EcrireTexte(parametres, chemin,
                std::to_string(parametres.NbPoints) +
                    "\n1\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n",
                [](std::string& t, const TV3R& p, const TV4By& c) {
                    AjouterPoint(t, p, ' ', '.');
                    t += " 0.5";
                    AjouterCouleur(t, c, ' ');
                    t += '\n';
                });
}

template <class T> void AjouterOctets(std::string& o, T v) {
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    o.append(b, sizeof v);
}

// Binary records written through a temporary file, after `entete`.
template <class F>
void EcrireBinaire(const TParametresVoute& parametres, const std::string& chemin,
                   const std::string& entete, F&& enregistrement) {
    EcrireTexte(parametres, chemin, entete, enregistrement);
}

// Binary little endian: x y z as doubles, the colour as bytes.
void EcrirePLY(const TParametresVoute& parametres, const std::string& chemin) {
    const std::string entete = "ply\nformat binary_little_endian 1.0\ncomment arkalune-generer\n"
                               "element vertex " +
                               std::to_string(parametres.NbPoints) +
                               "\nproperty double x\nproperty double y\nproperty double z\n"
                               "property uchar red\nproperty uchar green\nproperty uchar blue\n"
                               "end_header\n";
    EcrireBinaire(parametres, chemin, entete, [](std::string& o, const TV3R& p, const TV4By& c) {
        for (int a = 0; a < 3; ++a)
            AjouterOctets(o, p[a]);
        o.append(reinterpret_cast<const char*>(c.data()), 3);
    });
}

// Version 1.2, point format 2 (colour); coordinates to the 1e-8 m of the XYZ text around the
// middle of the survey's box, colours on 16 bits.
void EcrireLAS(const TParametresVoute& parametres, const std::string& chemin) {
    TV3R mini{1e300, 1e300, 1e300}, maxi{-1e300, -1e300, -1e300};
    PointsDuReleve(parametres, [&](const TV3R& p, const TV4By&) {
        for (int a = 0; a < 3; ++a) {
            mini[a] = std::min(mini[a], p[a]);
            maxi[a] = std::max(maxi[a], p[a]);
        }
    });
    double echelle[3], origine[3];
    for (int a = 0; a < 3; ++a) {
        origine[a] = std::round((mini[a] + maxi[a]) / 2);
        echelle[a] = 1e-8;
        while ((maxi[a] - mini[a]) / 2 + 1 > echelle[a] * 2e9)
            echelle[a] *= 10;
    }
    std::string e(227, '\0');
    std::memcpy(e.data(), "LASF", 4);
    e[24] = 1;
    e[25] = 2;
    auto poser = [&](std::size_t place, auto v) { std::memcpy(e.data() + place, &v, sizeof v); };
    poser(94, std::uint16_t(227));
    poser(96, std::uint32_t(227));
    e[104] = 2;
    poser(105, std::uint16_t(26));
    poser(107, std::uint32_t(parametres.NbPoints));
    for (std::size_t a = 0; a < 3; ++a) {
        poser(131 + 8 * a, echelle[a]);
        poser(155 + 8 * a, origine[a]);
        poser(179 + 16 * a, maxi[int(a)]);
        poser(187 + 16 * a, mini[int(a)]);
    }
    EcrireBinaire(parametres, chemin, e, [&](std::string& o, const TV3R& p, const TV4By& c) {
        for (int a = 0; a < 3; ++a)
            AjouterOctets(o, std::int32_t(std::llround((p[a] - origine[a]) / echelle[a])));
        o.append(8, '\0');
        for (std::size_t k = 0; k < 3; ++k)
            AjouterOctets(o, std::uint16_t(c[k] << 8));
    });
}

} // namespace

void PointsDuReleve(const TParametresVoute& parametres, const TRecevoirPointReleve& recevoir) {
    std::string texte;
    GenererVoute(parametres, [&](const TPointGenere& g) {
        TV3R p;
        for (int a = 0; a < 3; ++a) {
            texte.clear();
            AjouterReel(texte, CoordonneeLevee(g.P[a]));
            LireReel(texte, p[a]);
        }
        recevoir(p, g.Couleur);
    });
}

TEcrireReleve EcrivainReleve(const std::string& chemin) {
    struct TEcrivain {
        const char* exemple; // a file name of the format
        TEcrireReleve ecrire;
    };
    static const TEcrivain ecrivains[] = {{"r.csv", EcrireCSV},
                                          {"r.pts", EcrirePTS},
                                          {"r.ptx", EcrirePTX},
                                          {"r.ply", EcrirePLY},
                                          {"r.las", EcrireLAS}};
    const TFormatScan* format = FormatSelonExtension(chemin);
    for (const TEcrivain& e : ecrivains)
        if (format != nullptr && format == FormatSelonExtension(e.exemple)) return e.ecrire;
    return nullptr;
}
