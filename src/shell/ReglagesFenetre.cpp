#include "shell/ReglagesFenetre.h"

#include "util/StringUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

bool TMoinsSansCasse::operator()(const std::string& a, const std::string& b) const {
    return MajusculesAscii(a) < MajusculesAscii(b);
}

namespace {
std::string Nom(const std::string& cle, const std::string& nomValeur) {
    return cle.empty() ? nomValeur : cle + "\t" + nomValeur;
}
} // namespace

void TMagasinReglages::Ajouter(const std::string& nom, const std::string& valeur) {
    if (!valeur.empty()) donnees_[nom] = valeur;
}

std::string TMagasinReglages::GetStr(const std::string& cle, const std::string& nomValeur) const {
    const auto it = donnees_.find(Nom(cle, nomValeur));
    return it == donnees_.end() ? std::string() : it->second;
}

std::int32_t TMagasinReglages::GetLong(const std::string& cle, const std::string& nomValeur,
                                       std::int32_t defaut) const {
    const std::string texte = GetStr(cle, nomValeur);
    std::int32_t v = 0;
    const auto [fin, ec] = std::from_chars(texte.data(), texte.data() + texte.size(), v);
    return ec == std::errc() && fin == texte.data() + texte.size() && !texte.empty() ? v : defaut;
}

void TMagasinReglages::PutStr(const std::string& cle, const std::string& nomValeur,
                              const std::string& valeur) {
    // An existing name keeps its own spelling.
    donnees_[Nom(cle, nomValeur)] = valeur;
}

void TMagasinReglages::PutLong(const std::string& cle, const std::string& nomValeur,
                               std::int32_t valeur) {
    PutStr(cle, nomValeur, std::to_string(valeur));
}

TPlacementFenetre LireWinLTWH(const std::string& texte) {
    TPlacementFenetre p;
    std::size_t i = 0;
    if (!texte.empty()) {
        const char c = char(std::toupper(static_cast<unsigned char>(texte[0])));
        if (c == 'A') p.etat = TEtatFenetre::Maximisee;
        if (c == 'I') p.etat = TEtatFenetre::Minimisee;
        if (p.etat != TEtatFenetre::Normale) i = 1;
    }
    std::int32_t v[4];
    for (std::int32_t& n : v) {
        while (i < texte.size() && texte[i] == ' ')
            ++i;
        const auto [fin, ec] = std::from_chars(texte.data() + i, texte.data() + texte.size(), n);
        if (ec != std::errc()) return p;
        i = std::size_t(fin - texte.data());
    }
    p.rectangle = TRectangleFenetre{std::max(v[0], 0), std::max(v[1], 0), v[2], v[3]};
    return p;
}

std::string EcrireWinLTWH(TEtatFenetre etat, const TRectangleFenetre& r) {
    char texte[64];
    std::snprintf(texte, sizeof texte, "%s%d %d %d %d",
                  etat == TEtatFenetre::Maximisee   ? "A"
                  : etat == TEtatFenetre::Minimisee ? "I"
                                                    : "",
                  int(r.gauche), int(r.haut), int(r.largeur), int(r.hauteur));
    return texte;
}

TRectangleFenetre GarderSurEcran(TRectangleFenetre r, std::int32_t largeurEcran,
                                 std::int32_t hauteurEcran) {
    // A size beyond the screen's (a settings file edited by hand) is beyond what the window can
    // draw, and a huge one ties the program up.
    r.largeur = std::min(r.largeur, largeurEcran);
    r.hauteur = std::min(r.hauteur, hauteurEcran);
    if (r.gauche > largeurEcran - 50) r.gauche = largeurEcran - 50 - r.largeur;
    if (r.gauche + r.largeur < 50) r.gauche = 50;
    if (r.haut > hauteurEcran - 50) r.haut = hauteurEcran - 50 - r.hauteur;
    if (r.haut < 0) r.haut = 0;
    return r;
}
