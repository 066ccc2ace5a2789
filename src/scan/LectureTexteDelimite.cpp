#include "scan/LectureTexteDelimite.h"

#include "scan/LectureBinaire.h"
#include "scan/LectureTexte.h"
#include "scan/LectureXYZ.h"
#include "util/Format.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t LignesDetection = 20;

bool EstBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view SansEspaces(std::string_view t) {
    while (!t.empty() && EstBlanc(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && EstBlanc(t.back()))
        t.remove_suffix(1);
    return t;
}

std::string_view SansBlancs(std::string_view t) {
    t = SansEspaces(t);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

// The fields of the line; at most `max`, the rest ignored.
std::size_t Decouper(std::string_view ligne, char separateur, std::string_view* champs,
                     std::size_t max) {
    if (separateur == 0) return ChampsSepares(ligne, champs, max);
    std::size_t n = 0;
    while (n < max) {
        const std::size_t f = ligne.find(separateur);
        champs[n++] = SansBlancs(ligne.substr(0, f));
        if (f == std::string_view::npos) break;
        ligne.remove_prefix(f + 1);
    }
    return n;
}

// Every field of the line.
std::vector<std::string_view> Champs(std::string_view ligne, char separateur) {
    std::vector<std::string_view> champs(ligne.size() + 1);
    champs.resize(Decouper(ligne, separateur, champs.data(), champs.size()));
    return champs;
}

bool LireNombre(std::string_view champ, bool virguleDecimale, double& v) {
    if (!virguleDecimale || champ.find(',') == std::string_view::npos) return LireReel(champ, v);
    char copie[64];
    if (champ.size() >= sizeof copie) return false;
    std::replace_copy(champ.begin(), champ.end(), copie, ',', '.');
    return LireReel(std::string_view(copie, champ.size()), v);
}

// The names of a header line: its leading comment mark ("//", "#", "%", as other tools write
// theirs) and its units in brackets or parentheses ("z (m)", "X[m]") left out.
std::vector<std::string> NomsDeColonnes(std::string_view ligne, char separateur) {
    ligne = SansEspaces(ligne);
    for (const std::string_view marque : {"//", "#", "%"})
        if (ligne.substr(0, marque.size()) == marque) {
            ligne.remove_prefix(marque.size());
            break;
        }
    std::string sansUnites;
    int ouvertes = 0;
    for (const char c : ligne) {
        if (c == '(' || c == '[')
            ++ouvertes;
        else if ((c == ')' || c == ']') && ouvertes > 0)
            --ouvertes;
        else if (ouvertes == 0)
            sansUnites += c;
    }
    std::vector<std::string> noms;
    for (const std::string_view champ : Champs(sansUnites, separateur))
        noms.emplace_back(SansBlancs(champ));
    return noms;
}

// The column a header's name stands for: 0 to 5 for X Y Z R G B, -1 for none.
int ColonneNommee(const std::string& nom) {
    static const std::array<std::vector<std::string>, 6> noms = {{
        {"x", "east", "easting", "est", "e"},
        {"y", "north", "northing", "nord", "n"},
        {"z", "height", "h", "elevation", "altitude", "alt", "hauteur", "altitude"},
        {"r", "red", "rouge"},
        {"g", "green", "vert"},
        {"b", "blue", "bleu"},
    }};
    const std::string bas = MinusculesAscii(nom);
    for (std::size_t k = 0; k < noms.size(); ++k)
        if (std::find(noms[k].begin(), noms[k].end(), bas) != noms[k].end()) return int(k);
    return -1;
}

// "1,5 2,25 3": numbers cut by spaces, whose commas are decimal ones.
bool VirgulesDecimalesEntreEspaces(const std::string& ligne) {
    if (ligne.find(',') == std::string::npos) return false;
    const std::vector<std::string_view> champs = Champs(ligne, 0);
    double v = 0;
    return champs.size() >= 3 && std::all_of(champs.begin(), champs.end(), [&](auto c) {
               return std::count(c.begin(), c.end(), ',') <= 1 && LireNombre(c, true, v);
           });
}

// The separator that cuts at least half of the lines into at least three fields, in the order of
// preference (spaces between numbers with decimal commas before the comma); runs of spaces
// otherwise. A stray comment line does not change it.
void DetecterSeparateur(const std::vector<std::string>& lignes, TDispositionTexte& d) {
    const auto majorite = [&](auto&& coupee) {
        const auto n = std::count_if(lignes.begin(), lignes.end(), coupee);
        return n > 0 && 2 * std::size_t(n) >= lignes.size();
    };
    for (const char c : {';', '\t', ','}) {
        if (c == ',' && majorite(VirgulesDecimalesEntreEspaces)) {
            d.VirguleDecimale = true;
            return;
        }
        if (majorite(
                [c](const std::string& l) { return std::count(l.begin(), l.end(), c) >= 2; })) {
            d.Separateur = c;
            d.VirguleDecimale = c == ';' || c == '\t';
            return;
        }
    }
}

// Fields a point needs: up to the last column read.
std::size_t ChampsUtiles(const TDispositionTexte& d) {
    return std::size_t(*std::max_element(std::begin(d.Colonnes), std::end(d.Colonnes))) + 1;
}

bool LirePoint(std::string_view ligne, const TDispositionTexte& d,
               std::vector<std::string_view>& champs, TPointLu& p) {
    const std::size_t n = Decouper(ligne, d.Separateur, champs.data(), champs.size());
    for (int a = 0; a < 3; ++a) {
        const int c = d.Colonnes[a];
        if (std::size_t(c) >= n || !LireNombre(champs[std::size_t(c)], d.VirguleDecimale, p.Coo[a]))
            return false;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const int c = d.Colonnes[3 + k];
        if (c < 0 || std::size_t(c) >= n || !LireComposante(champs[std::size_t(c)], p.Couleur[k]))
            p.Couleur[k] = 0;
    }
    p.Couleur[3] = 0;
    return true;
}

// A line whose three first fields are numbers.
bool CommenceParTroisNombres(const std::string& ligne, const TDispositionTexte& d) {
    const std::vector<std::string_view> champs = Champs(ligne, d.Separateur);
    double v = 0;
    return champs.size() >= 3 && std::all_of(champs.begin(), champs.begin() + 3, [&](auto c) {
               return LireNombre(c, d.VirguleDecimale, v);
           });
}

std::string ListeNoms(const std::vector<std::string>& noms) {
    std::string t;
    for (const std::string& n : noms)
        t += (t.empty() ? "« " : ", « ") + n + " »";
    return t;
}

} // namespace

TDispositionTexte DetecterDisposition(const std::vector<std::string>& premieresLignes) {
    TDispositionTexte d;
    if (premieresLignes.empty()) return d;
    // The separator is found on the points, the first line aside.
    std::vector<std::string> points(premieresLignes.begin() + 1, premieresLignes.end());
    if (points.empty()) points = premieresLignes;
    DetecterSeparateur(points, d);
    // The header is looked for before the first point, past a title.
    const auto premierPoint =
        std::find_if(premieresLignes.begin(), premieresLignes.end(),
                     [&](const std::string& l) { return CommenceParTroisNombres(l, d); });
    for (auto l = premieresLignes.begin(); l != premierPoint; ++l) {
        const std::vector<std::string> noms = NomsDeColonnes(*l, d.Separateur);
        int colonnes[6] = {-1, -1, -1, -1, -1, -1};
        for (std::size_t c = 0; c < noms.size(); ++c) {
            const int k = ColonneNommee(noms[c]);
            if (k >= 0 && colonnes[k] < 0) colonnes[k] = int(c);
        }
        if (colonnes[0] >= 0 && colonnes[1] >= 0 && colonnes[2] >= 0) {
            d.LigneEnTete = int(l - premieresLignes.begin());
            std::copy(std::begin(colonnes), std::end(colonnes), d.Colonnes);
            return d;
        }
    }
    // A first line of names, one a column of the points, that does not name X, Y and Z.
    double v = 0;
    const std::vector<std::string> noms = NomsDeColonnes(premieresLignes.front(), d.Separateur);
    const bool desNoms = premierPoint != premieresLignes.begin() && noms.size() >= 3 &&
                         std::none_of(noms.begin(), noms.end(), [&](const std::string& n) {
                             return n.empty() || LireNombre(n, true, v);
                         });
    if (desNoms && (premierPoint == premieresLignes.end() ||
                    Champs(*premierPoint, d.Separateur).size() == noms.size()))
        d.NomsSansCoordonnees = noms;
    return d;
}

TBilanLecture LireTexteDelimite(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                                const TSortieProgression& sortie) {
    std::int64_t ignores = 0;
    TLotPointsLus lot(recevoir);
    // The first lines wait until the layout is found from them.
    std::vector<std::string> premieres;
    std::vector<bool> premieresTropLongues;
    TDispositionTexte disposition;
    bool detectee = false;
    std::vector<std::string_view> champs;
    auto lire = [&](std::string_view ligne, bool tropLongue, bool enTete) {
        TPointLu p;
        if (enTete) return;
        if (tropLongue || !LirePoint(ligne, disposition, champs, p))
            ++ignores;
        else
            lot.Ajouter(p);
    };
    auto detecter = [&] {
        std::vector<std::string> nonVides;
        for (const std::string& l : premieres)
            if (!SansBlancs(l).empty()) nonVides.push_back(l);
        disposition = DetecterDisposition(nonVides);
        if (!disposition.NomsSansCoordonnees.empty())
            RefuserFichier(chemin, "la première ligne nomme des colonnes, mais ni X, Y et Z ni "
                                   "est, nord et hauteur : " +
                                       ListeNoms(disposition.NomsSansCoordonnees));
        champs.resize(ChampsUtiles(disposition));
        detectee = true;
        int nonVide = 0;
        for (std::size_t k = 0; k < premieres.size(); ++k) {
            const bool vide = SansBlancs(premieres[k]).empty();
            lire(premieres[k], premieresTropLongues[k],
                 !vide && nonVide == disposition.LigneEnTete);
            nonVide += !vide;
        }
        premieres.clear();
    };
    LireLignes(chemin, sortie, [&](std::string_view ligne, bool tropLongue) {
        if (detectee) {
            lire(ligne, tropLongue, false);
            return;
        }
        premieres.emplace_back(ligne);
        premieresTropLongues.push_back(tropLongue);
        if (premieres.size() == LignesDetection) detecter();
    });
    if (!detectee) detecter();
    lot.Vider();
    return BilanLignesIgnorees(ignores);
}
