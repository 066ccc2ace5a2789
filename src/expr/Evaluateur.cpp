#include "expr/Evaluateur.h"

#include "expr/Lecture.h"
#include "expr/Operateurs.h"
#include "util/Format.h"
#include "util/Utf16.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct TMotOperateur {
    std::u16string_view texte;
    std::uint16_t op;
};

constexpr TMotOperateur MotsOperateurs[] = {{u"OU", 0x330},  {u"OUEX", 0x331}, {u"ET", 0x332},
                                            {u"NON", 0x333}, {u"DIV", 0x514},  {u"MOD", 0x515}};
constexpr TMotOperateur Comparaisons[] = {{u"=", 0x320}, {u"<>", 0x321}, {u"<", 0x322},
                                          {u">", 0x323}, {u"<=", 0x324}, {u">=", 0x325}};

bool EstLettre(char16_t c) {
    return c >= u'A' && c <= u'Z';
}
bool EstComparateur(char16_t c) {
    return c == u'<' || c == u'=' || c == u'>';
}

// The longest run of characters of one class (upper-cased), taken as an operator when it is
// exactly one of `mots`; otherwise nothing is read.
template <std::size_t N>
std::optional<std::uint16_t> LireSuite(TLecture& l, bool (*dansSuite)(char16_t),
                                       const TMotOperateur (&mots)[N]) {
    const std::int32_t debut = l.Pos;
    std::u16string suite;
    for (;;) {
        const char16_t c = Maj(l.Suivant());
        if (c != 0 && dansSuite(c)) {
            suite += c;
            continue;
        }
        if (c != 0) l.Reculer();
        break;
    }
    for (const TMotOperateur& m : mots)
        if (suite == m.texte) return m.op;
    l.Pos = debut;
    return std::nullopt;
}

// Always gives an operator: the end marker (op 0) where no operator stands, with lrFin at the
// end of the text and lrErreur before any other character.
std::pair<Toperateur, TResultatLecture> LireOperateur(TLecture& l, bool espacesSignificatifs) {
    const std::int32_t debut = l.Pos;
    if (!espacesSignificatifs) l.SauterEspaces();
    if (const auto op = LireSuite(l, EstLettre, MotsOperateurs)) return {{*op, false}, lrLu};
    if (const auto op = LireSuite(l, EstComparateur, Comparaisons)) return {{*op, false}, lrLu};
    const char16_t c = Maj(l.Suivant());
    switch (c) {
    case u'+':
        return {{0x410, false}, lrLu};
    case u'-':
        return {{0x411, false}, lrLu};
    case u'*':
        return {{0x512, false}, lrLu};
    case u'/':
        return {{0x513, false}, lrLu};
    case u'^':
        return {{0x616, false}, lrLu};
    case u'&':
        return {{0x440, false}, lrLu};
    default:
        l.Pos = debut;
        return {{0, false}, c == 0 ? lrFin : lrErreur};
    }
}

std::optional<Toperateur> LireOperateurUnaire(TLecture& l, bool espacesSignificatifs) {
    const std::int32_t debut = l.Pos;
    auto [o, r] = LireOperateur(l, espacesSignificatifs);
    if (r == lrLu && o.unaire()) {
        o.posUnaire = true;
        return o;
    }
    l.Pos = debut;
    return std::nullopt;
}

// A number never carries its sign: -5 is the prefix minus applied to 5.
TResultatLecture LireNombre(TLecture& l, Tvaleur& operande) {
    const std::int32_t debut = l.Pos;
    std::string texte;
    bool reel = false;
    TResultatLecture fin;
    for (;;) {
        const char16_t c = Maj(l.Suivant());
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u'E') {
            texte += char(c);
            if (c == u'.' || c == u'E') reel = true;
            if (c == u'E' && (l.Courant() == u'+' || l.Courant() == u'-'))
                texte += char(l.Suivant());
            continue;
        }
        if (c != 0) l.Reculer();
        fin = c == 0 ? lrFin : lrErreur;
        break;
    }
    if (texte.empty()) return fin;
    if (texte.front() == '.') texte.insert(0, 1, '0');
    if (reel) {
        double d = 0;
        if (LireReel(texte, d) && std::isfinite(d)) {
            operande = Tvaleur::CreateValD(d);
            return lrLu;
        }
    } else {
        std::int64_t i = 0;
        if (LireEntier(texte, i) && i <= std::numeric_limits<std::int32_t>::max()) {
            operande = Tvaleur::CreateValI(std::int32_t(i));
            return lrLu;
        }
    }
    l.Pos = debut;
    return fin;
}

// Between quotes; a doubled quote stands for one quote.
TResultatLecture LireChaine(TLecture& l, Tvaleur& operande) {
    const std::int32_t debut = l.Pos;
    l.Suivant();
    std::u16string texte;
    for (;;) {
        const char16_t c = l.Suivant();
        if (c == 0) {
            l.Pos = debut;
            return lrFin;
        }
        if (c == u'\'') {
            if (l.Courant() != u'\'') break;
            l.Suivant();
        }
        texte += c;
    }
    operande = Tvaleur::CreateVal(texte);
    return lrLu;
}

TResultatLecture LireParenthese(TLecture& l, Tvaleur& operande) {
    l.Suivant();
    Tvaleur w;
    const TResultatLecture r = LireExpression(l, w, false);
    if (r != lrLu) return r;
    if (l.Courant() != u')') return l.Courant() == 0 ? lrFin : lrErreur;
    l.Suivant();
    operande = std::move(w);
    return lrLu;
}

TResultatLecture LireOperande(TLecture& l, Tvaleur& operande, bool espacesSignificatifs) {
    const std::int32_t debut = l.Pos;
    if (!espacesSignificatifs) l.SauterEspaces();
    const char16_t c = Maj(l.Courant());
    TResultatLecture r;
    if (c == 0) {
        r = lrFin;
    } else if (c == u'(') {
        r = LireParenthese(l, operande);
    } else if (c == u'%') {
        r = LireVariable(l, operande);
    } else if (c == u'\'') {
        r = LireChaine(l, operande);
    } else if (c == u'?' || EstLettre(c) || c == u'_') {
        r = LireFonction(l, operande);
        if (r == lrErreur) r = LireVariable(l, operande);
    } else {
        r = LireNombre(l, operande);
    }
    if (r != lrLu) l.Pos = debut;
    return r;
}

// Applies the operator at `rang` of the operator stack to the top operand (and, for an infix
// operator, to the one below it, which the result replaces).
bool Executer(std::vector<Toperateur>& ots, std::size_t rang, std::vector<Tvaleur>& ods) {
    const Toperateur o = ots[rang];
    if (o.posUnaire) {
        if (ods.empty() || !o.resultatUnaire(ods.back())) return false;
    } else {
        if (ods.size() < 2 || !o.resultat(ods[ods.size() - 2], ods.back())) return false;
        ods.erase(ods.end() - 2);
    }
    ots.erase(ots.begin() + std::ptrdiff_t(rang));
    return true;
}

class TGardeProfondeur {
public:
    explicit TGardeProfondeur(TLecture& l) : l_(l) {
        if (l_.Profondeur >= ProfondeurMaxExpression)
            throw EErreur("expression trop imbriquée : plus de " +
                          std::to_string(ProfondeurMaxExpression) +
                          " niveaux de parenthèses ou d'arguments");
        ++l_.Profondeur;
    }
    ~TGardeProfondeur() { --l_.Profondeur; }
    TGardeProfondeur(const TGardeProfondeur&) = delete;
    TGardeProfondeur& operator=(const TGardeProfondeur&) = delete;

private:
    TLecture& l_;
};

} // namespace

TResultatLecture LireExpression(TLecture& l, Tvaleur& V, bool espacesSignificatifs) {
    const TGardeProfondeur garde(l);
    l.SauterEspaces();
    const std::int32_t p0 = l.Pos;
    std::vector<Toperateur> ots;
    std::vector<Tvaleur> ods;
    if (const auto u = LireOperateurUnaire(l, espacesSignificatifs)) ots.push_back(*u);
    do {
        Tvaleur operande;
        const TResultatLecture r = LireOperande(l, operande, espacesSignificatifs);
        if (r != lrLu) {
            l.Pos = p0;
            return r;
        }
        ods.push_back(std::move(operande));
        // A prefix operator binds to its operand alone. One that does not fit its operand stays
        // on the stack and makes the next reduction fail.
        if (!ots.empty() && ots.back().posUnaire) Executer(ots, ots.size() - 1, ods);
        ots.push_back(LireOperateur(l, espacesSignificatifs).first);
        while (ots.size() >= 2 && ots[ots.size() - 2].priorite() >= ots.back().priorite()) {
            if (!Executer(ots, ots.size() - 2, ods)) {
                l.Pos = p0;
                return lrErreur;
            }
        }
        if (const auto u = LireOperateurUnaire(l, espacesSignificatifs)) ots.push_back(*u);
    } while (ots.back().priorite() != 0);
    V = std::move(ods.back());
    l.SauterEspaces();
    return lrLu;
}

bool EvaluerExpression(Tvaleur& V, const std::u16string& Texte, std::int32_t& Pos,
                       const TFnVariable& FnVariable, const TFnFonction& FnFonction,
                       bool EspacesSignificatifs) {
    TLecture l(Texte, Pos, FnVariable, FnFonction);
    Tvaleur resultat;
    const TResultatLecture r = LireExpression(l, resultat, EspacesSignificatifs);
    Pos = l.Pos;
    if (r != lrLu) return false;
    V.Assign(resultat);
    return true;
}

bool CalculerTexte(Tvaleur& V, const std::u16string& Texte) {
    std::int32_t pos = 1;
    Tvaleur resultat;
    if (!EvaluerExpression(resultat, Texte, pos, nullptr, nullptr, false)) return false;
    const std::size_t fin = std::size_t(pos) - 1; // reading stopped there, past any spaces
    if (fin < Texte.size()) {
        std::string message =
            "texte en trop après l'expression : « " + Utf16VersUtf8(Texte.substr(fin)) + " »";
        // The usual slip of a French user.
        if (Texte[fin] == u',') message += " ; le séparateur décimal est le point";
        throw EErrTexteEnTrop(message);
    }
    V.Assign(resultat);
    return true;
}
