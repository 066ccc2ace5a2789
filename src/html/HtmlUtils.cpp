#include "html/HtmlUtils.h"

#include "util/Erreurs.h"
#include "util/Format.h"

#include <algorithm>

namespace {

constexpr const char* CRLF = "\r\n";

std::string Guillemets(const std::string& valeur) {
    return "\"" + valeur + "\"";
}

std::string Entier(std::int64_t n) {
    return std::to_string(n);
}

std::string AvecClasse(const std::string& nomclasse, const std::string& params) {
    if (nomclasse.empty()) return params;
    return "class=" + Guillemets(nomclasse) + " " + params;
}

bool Blanc(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::int32_t LargeurDuMot(const std::string& texte) {
    std::int64_t w = 0;
    if (!LireEntier(texte, w) || w < INT32_MIN || w > INT32_MAX) return 10;
    return static_cast<std::int32_t>(w);
}

} // namespace

void THtmlTable::DebutTable(std::int32_t pclrg, std::int32_t bordure, std::int32_t espcell,
                            std::int32_t mrgcell, const std::string& colswpctbl) {
    lignesHtml.clear();
    FLigLibre = 0;
    EnTete = "<TABLE border=" + Guillemets(Entier(bordure)) +
             " cellpadding=" + Guillemets(Entier(mrgcell)) +
             " cellspacing=" + Guillemets(Entier(espcell)) +
             " width=" + Guillemets(Entier(pclrg) + "%") + ">" + CRLF + ColGroup(colswpctbl);
}

void THtmlTable::DebutTable(const std::string& nomclasse, std::string params,
                            const std::string& colswpctbl, std::int32_t nlig) {
    if (nlig < 0) throw EErreur("tableau HTML : nombre de lignes réservées négatif");
    params = AvecClasse(nomclasse, params);
    LignesFixees = nlig > 0;
    const std::int64_t n = LignesFixees && !colswpctbl.empty() ? std::int64_t(nlig) + 1 : nlig;
    lignesHtml.assign(std::size_t(n), std::string());
    FLigLibre = 0;
    EnTete = "<TABLE " + params + ">" + CRLF + ColGroup(colswpctbl);
}

std::string THtmlTable::ColGroup(const std::string& colonnes) {
    if (colonnes.empty()) return "";
    Fnbcols = 0;
    Cols.clear();
    std::string resultat = "<COLGROUP>";
    std::string reste = colonnes;
    for (;;) {
        std::string mot;
        const std::size_t blanc = reste.find(' ');
        if (blanc == std::string::npos) {
            mot = reste;
            reste.clear();
        } else {
            mot = reste.substr(0, blanc);
            const auto debut =
                std::find_if_not(reste.begin() + std::ptrdiff_t(blanc), reste.end(), Blanc);
            reste.erase(reste.begin(), debut);
        }
        if (mot.empty()) break;
        const std::size_t lettre = std::string("GCD").find(mot.front());
        std::int32_t p = 2;
        if (lettre != std::string::npos) {
            p = std::int32_t(lettre) + 1;
            mot.erase(0, 1);
        }
        const std::int32_t w = LargeurDuMot(mot);
        if (w == 0) break;
        resultat += "<COL width=" + Guillemets(Entier(w) + "%") + ">";
        Cols.push_back({p, w});
        ++Fnbcols;
    }
    return resultat + "</COLGROUP>";
}

void THtmlTable::DebutLigne(const std::string& nomclasse, std::string params) {
    Flig = "<TR " + AvecClasse(nomclasse, params) + ">" + CRLF;
}

void THtmlTable::Cellule(const std::string& nomclasse, std::int32_t rowspan, std::int32_t colspan,
                         std::int32_t GCD1, std::int32_t pos1, std::string params,
                         const std::string& texte, bool header) {
    static const char* const Alignements[] = {"left", "center", "right"};
    if (GCD1 < 0 || GCD1 > 3) throw EErreur("tableau HTML : alignement de cellule invalide");
    std::int64_t w = 0;
    if (pos1 >= 1) {
        const std::int64_t derniere = std::int64_t(pos1) + colspan - 1;
        if (derniere > std::int64_t(Cols.size()))
            throw EErreur("tableau HTML : la cellule dépasse les colonnes définies");
        for (std::int64_t c = pos1; c <= derniere; ++c)
            w += Cols[std::size_t(c - 1)].wcolpc;
    }
    if (GCD1 != 0) params = "align=" + Guillemets(Alignements[GCD1 - 1]) + " " + params;
    if (w > 0) params = "width=" + Guillemets(Entier(w) + "%") + " " + params;
    if (colspan > 1) params = "colspan=" + Guillemets(Entier(colspan)) + " " + params;
    if (rowspan > 1) params = "rowspan=" + Guillemets(Entier(rowspan)) + " " + params;
    params = AvecClasse(nomclasse, params);
    const bool vide = std::all_of(texte.begin(), texte.end(), Blanc);
    const char* x = header ? "H" : "D";
    Flig += std::string("<T") + x + " " + params + ">" + (vide ? "&nbsp;" : texte) + "</T" + x +
            ">" + CRLF;
}

void THtmlTable::FinLigne() {
    AjouterLigne(Flig + "</TR>" + CRLF);
}

void THtmlTable::AjouterLigne(const std::string& ligne) {
    if (!LignesFixees)
        lignesHtml.resize(std::size_t(FLigLibre) + 1);
    else if (std::size_t(FLigLibre) >= lignesHtml.size())
        throw EErreur("tableau HTML : plus de lignes que de lignes réservées");
    lignesHtml[std::size_t(FLigLibre)] = ligne + CRLF;
    ++FLigLibre;
}

std::string THtmlTable::FinTable() const {
    std::string resultat = EnTete;
    for (std::int32_t n = 0; n < FLigLibre; ++n)
        resultat += lignesHtml[std::size_t(n)];
    return resultat + "</TABLE>";
}

std::string TexteHtmlFormat(const std::string& fragment, const std::string& avant,
                            const std::string& apres) {
    static const std::string Debut = "<!-- StartFragment-->";
    static const std::string Fin = "<!-- EndFragment-->";
    const std::string entete = "Version:1.0\r\nStartHTML:000000000a\r\nEndHTML:000000000b\r\n"
                               "StartFragment:000000000c\r\nEndFragment:000000000d\r\n"
                               "StartSelection:000000000e\r\nEndSelection:000000000f\r\n";
    std::string t = entete + avant + Debut + fragment + Fin + apres;
    const std::size_t c = entete.size();
    const std::size_t a = c + avant.size() + Debut.size();
    const std::size_t b = a + fragment.size();
    const std::size_t total = t.size();
    // The placeholders sit in the header, before any text of the caller: each is replaced in
    // place by a number of the same width, so no offset moves.
    const std::pair<const char*, std::size_t> valeurs[] = {{"000000000a", c}, {"000000000b", total},
                                                           {"000000000c", a}, {"000000000d", b},
                                                           {"000000000e", a}, {"000000000f", b}};
    for (const auto& [repere, valeur] : valeurs)
        t.replace(entete.find(repere), 10,
                  Formater("%10.10llu", static_cast<unsigned long long>(valeur)));
    return t;
}
