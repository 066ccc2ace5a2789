#include "scan/LectureTexteDelimite.h"

#include "scan/LectureTexte.h"
#include "scan/LectureXYZ.h"
#include "util/Format.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t LignesDetection = 20;
constexpr std::size_t ChampsMax = 32;

bool EstBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view SansBlancs(std::string_view t) {
    while (!t.empty() && EstBlanc(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && EstBlanc(t.back()))
        t.remove_suffix(1);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

// The fields of the line; at most ChampsMax, the rest ignored.
std::size_t Decouper(std::string_view ligne, char separateur,
                     std::array<std::string_view, ChampsMax>& champs) {
    if (separateur == 0) return ChampsSepares(ligne, champs.data(), ChampsMax);
    std::size_t n = 0;
    while (n < ChampsMax) {
        const std::size_t f = ligne.find(separateur);
        champs[n++] = SansBlancs(ligne.substr(0, f));
        if (f == std::string_view::npos) break;
        ligne.remove_prefix(f + 1);
    }
    return n;
}

bool LireNombre(std::string_view champ, bool virguleDecimale, double& v) {
    if (!virguleDecimale || champ.find(',') == std::string_view::npos) return LireReel(champ, v);
    char copie[64];
    if (champ.size() >= sizeof copie) return false;
    std::replace_copy(champ.begin(), champ.end(), copie, ',', '.');
    return LireReel(std::string_view(copie, champ.size()), v);
}

// The column a header's name stands for: 0 to 5 for X Y Z R G B, -1 for none.
int ColonneNommee(std::string_view nom) {
    static const std::array<std::vector<std::string>, 6> noms = {{
        {"x", "east", "easting", "est", "e"},
        {"y", "north", "northing", "nord", "n"},
        {"z", "height", "h", "elevation", "altitude", "alt", "hauteur", "altitude"},
        {"r", "red", "rouge"},
        {"g", "green", "vert"},
        {"b", "blue", "bleu"},
    }};
    const std::string bas = MinusculesAscii(std::string(SansBlancs(nom)));
    for (std::size_t k = 0; k < noms.size(); ++k)
        if (std::find(noms[k].begin(), noms[k].end(), bas) != noms[k].end()) return int(k);
    return -1;
}

// The separator that cuts at least half of the lines into at least three fields, in the order of
// preference; runs of spaces otherwise. A stray comment line does not change it.
char DetecterSeparateur(const std::vector<std::string>& lignes) {
    for (const char c : {';', '\t', ','}) {
        const auto coupees = std::count_if(lignes.begin(), lignes.end(), [c](const std::string& l) {
            return std::count(l.begin(), l.end(), c) >= 2;
        });
        if (coupees > 0 && 2 * std::size_t(coupees) >= lignes.size()) return c;
    }
    return 0;
}

bool LirePoint(std::string_view ligne, const TDispositionTexte& d, TPointLu& p) {
    std::array<std::string_view, ChampsMax> champs;
    const std::size_t n = Decouper(ligne, d.Separateur, champs);
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

} // namespace

TDispositionTexte DetecterDisposition(const std::vector<std::string>& premieresLignes) {
    TDispositionTexte d;
    if (premieresLignes.empty()) return d;
    // The separator is found on the points, the header aside.
    std::vector<std::string> points(premieresLignes.begin() + 1, premieresLignes.end());
    if (points.empty()) points = premieresLignes;
    d.Separateur = DetecterSeparateur(points);
    d.VirguleDecimale = d.Separateur == ';' || d.Separateur == '\t';
    std::array<std::string_view, ChampsMax> champs;
    const std::size_t n = Decouper(premieresLignes.front(), d.Separateur, champs);
    int colonnes[6] = {-1, -1, -1, -1, -1, -1};
    for (std::size_t c = 0; c < n; ++c) {
        const int k = ColonneNommee(champs[c]);
        if (k >= 0 && colonnes[k] < 0) colonnes[k] = int(c);
    }
    if (colonnes[0] >= 0 && colonnes[1] >= 0 && colonnes[2] >= 0) {
        d.EnTete = true;
        std::copy(std::begin(colonnes), std::end(colonnes), d.Colonnes);
    }
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
    auto lire = [&](std::string_view ligne, bool tropLongue, bool enTete) {
        TPointLu p;
        if (enTete) return;
        if (tropLongue || !LirePoint(ligne, disposition, p))
            ++ignores;
        else
            lot.Ajouter(p);
    };
    auto detecter = [&] {
        std::vector<std::string> nonVides;
        for (const std::string& l : premieres)
            if (!SansBlancs(l).empty()) nonVides.push_back(l);
        disposition = DetecterDisposition(nonVides);
        detectee = true;
        bool enTete = disposition.EnTete;
        for (std::size_t k = 0; k < premieres.size(); ++k) {
            const bool estEnTete = enTete && !SansBlancs(premieres[k]).empty();
            lire(premieres[k], premieresTropLongues[k], estEnTete);
            if (estEnTete) enTete = false;
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
