// Names inside an expression: the table of constants and functions, user functions and
// variables given by the caller.

#include "expr/Lecture.h"
#include "expr/PuissanceReelle.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace {

enum TCodeFonction : std::uint8_t {
    fFaux,
    fVrai,
    fPi,
    fSin,
    fCos,
    fTan,
    fArcSin,
    fArcCos,
    fArcTan,
    fSinH,
    fCosH,
    fTanH,
    fArcSinH,
    fArcCosH,
    fArcTanH,
    fLog10,
    fLn,
    fExp,
    fDeg2Rad,
    fPuiss,
    fPui2,
    fPui3,
    fRac2,
    fRac3,
    fAbs,
    fMin,
    fMax,
    fArrondir,
    fTronquer,
    fDegEnRad,
    fRadEnDeg,
    fGradEnRad,
    fRadEnGrad,
    fDegEnGrad,
    fGradEnDeg,
    fNumVersion,
    fPair,
    fBvr,
};

struct TFonctionNommee {
    std::u16string_view nom;
    TCodeFonction code;
    std::size_t nbArgs;
};

// Synonyms share a code.
constexpr TFonctionNommee TableFonctions[] = {
    {u"FALSE", fFaux, 0},
    {u"FAUX", fFaux, 0},
    {u"TRUE", fVrai, 0},
    {u"VRAI", fVrai, 0},
    {u"PI", fPi, 0},
    {u"SIN", fSin, 1},
    {u"COS", fCos, 1},
    {u"TAN", fTan, 1},
    {u"ARCSIN", fArcSin, 1},
    {u"ARCCOS", fArcCos, 1},
    {u"ARCTAN", fArcTan, 1},
    {u"SINH", fSinH, 1},
    {u"COSH", fCosH, 1},
    {u"TANH", fTanH, 1},
    {u"ARCSINH", fArcSinH, 1},
    {u"ARCCOSH", fArcCosH, 1},
    {u"ARCTANH", fArcTanH, 1},
    {u"LOG10", fLog10, 1},
    {u"LN", fLn, 1},
    {u"EXP", fExp, 1},
    {u"DEG2RAD", fDeg2Rad, 1},
    {u"PUISS", fPuiss, 2},
    {u"PUI2", fPui2, 1},
    {u"PUI3", fPui3, 1},
    {u"RAC2", fRac2, 1},
    {u"RAC3", fRac3, 1},
    {u"ABS", fAbs, 1},
    {u"MIN", fMin, 2},
    {u"MAX", fMax, 2},
    {u"ARRONDIR", fArrondir, 1},
    {u"TRONQUER", fTronquer, 1},
    {u"DEGENRAD", fDegEnRad, 0},
    {u"RADENDEG", fRadEnDeg, 0},
    {u"GRADENRAD", fGradEnRad, 0},
    {u"RADENGRAD", fRadEnGrad, 0},
    {u"DEGENGRAD", fDegEnGrad, 0},
    {u"GRADENDEG", fGradEnDeg, 0},
    {u"NUMVERSION", fNumVersion, 0},
    {u"PAIR", fPair, 1},
    {u"BVR", fBvr, 3},
};

constexpr double Pi = 3.141592653589793;
constexpr double Log10E = 0.4342944819032518;
constexpr std::int32_t NumVersionEvaluateur = 0;

const TFonctionNommee* ChercherFonction(const std::u16string& nom) {
    for (const TFonctionNommee& f : TableFonctions)
        if (f.nom == nom) return &f;
    return nullptr;
}

bool EstCarNom(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

// Integer results are made from the low 32 bits of the 64-bit value.
Tvaleur Entier32(std::int64_t v) {
    return Tvaleur::CreateValI(static_cast<std::int32_t>(v));
}

// A whole real as a 64-bit integer; NaN and reals beyond the 64-bit range have none.
std::int64_t EnEntier64(double x) {
    if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0))
        throw EErrOperationInvalide("opération invalide : nombre hors des entiers 64 bits");
    return static_cast<std::int64_t>(x);
}

// None when an argument has not the integer type that the function requires.
std::optional<Tvaleur> Calculer(TCodeFonction code, const TValArray& a) {
    const auto x = [&] { return a[0].val_D(); };
    const auto y = [&] { return a[1].val_D(); };
    switch (code) {
    case fFaux:
        return Tvaleur::CreateVal(false);
    case fVrai:
        return Tvaleur::CreateVal(true);
    case fPi:
        return Tvaleur::CreateValD(Pi);
    case fSin:
        return Tvaleur::CreateValD(std::sin(x()));
    case fCos:
        return Tvaleur::CreateValD(std::cos(x()));
    case fTan:
        return Tvaleur::CreateValD(std::tan(x()));
    case fArcSin: {
        const double v = x();
        return Tvaleur::CreateValD(std::atan2(v, std::sqrt((v + 1) * (1 - v))));
    }
    case fArcCos: {
        const double v = x();
        return Tvaleur::CreateValD(std::atan2(std::sqrt((v + 1) * (1 - v)), v));
    }
    case fArcTan:
        return Tvaleur::CreateValD(std::atan(x()));
    case fSinH:
        return Tvaleur::CreateValD(std::sinh(x()));
    case fCosH:
        return Tvaleur::CreateValD(std::cosh(x()));
    case fTanH:
        return Tvaleur::CreateValD(std::tanh(x()));
    case fArcSinH: {
        const double v = x();
        return Tvaleur::CreateValD(std::log(v + std::sqrt(v * v + 1)));
    }
    case fArcCosH: {
        const double v = x();
        return Tvaleur::CreateValD(std::log(v + std::sqrt((v - 1) / (v + 1)) * (v + 1)));
    }
    case fArcTanH: {
        const double v = x();
        if (v == 1) return Tvaleur::CreateValD(std::numeric_limits<double>::infinity());
        if (v == -1) return Tvaleur::CreateValD(-std::numeric_limits<double>::infinity());
        return Tvaleur::CreateValD(0.5 * std::log((v + 1) / (1 - v)));
    }
    case fLog10:
        return Tvaleur::CreateValD(std::log(x()) * Log10E);
    case fLn:
        return Tvaleur::CreateValD(std::log(x()));
    case fExp:
        return Tvaleur::CreateValD(std::exp(x()));
    case fDeg2Rad:
        return Tvaleur::CreateValD(x() * Pi / 180);
    case fPuiss:
        return Tvaleur::CreateValD(PuissanceReelle(x(), y()));
    case fPui2: {
        const double v = x();
        return Tvaleur::CreateValD(v * v);
    }
    case fPui3:
        return Tvaleur::CreateValD(PuissanceReelle(x(), 3.0));
    case fRac2:
        return Tvaleur::CreateValD(std::sqrt(x()));
    case fRac3:
        return Tvaleur::CreateValD(PuissanceReelle(x(), 0.3333333333333333));
    case fAbs:
        if (a[0].valint()) {
            const std::int64_t v = a[0].val_I();
            return Entier32(v < 0 ? std::int64_t(0 - std::uint64_t(v)) : v);
        }
        return Tvaleur::CreateValD(std::fabs(x()));
    case fMin:
    case fMax:
        if (a[0].valint() && a[1].valint()) {
            const std::int64_t u = a[0].val_I(), v = a[1].val_I();
            return Entier32(code == fMin ? std::min(u, v) : std::max(u, v));
        } else {
            const double u = x(), v = y();
            return Tvaleur::CreateValD(code == fMin ? (v > u ? u : v) : (u > v ? u : v));
        }
    case fArrondir:
        return Entier32(EnEntier64(std::nearbyint(x()))); // ties to even
    case fTronquer:
        return Entier32(EnEntier64(std::trunc(x())));
    case fDegEnRad:
        return Tvaleur::CreateValD(0.017453292519943295);
    case fRadEnDeg:
        return Tvaleur::CreateValD(57.29577951308232);
    case fGradEnRad:
        return Tvaleur::CreateValD(0.015707963267948967);
    case fRadEnGrad:
        return Tvaleur::CreateValD(63.66197723675813);
    case fDegEnGrad:
        return Tvaleur::CreateValD(1.1111111111111112);
    case fGradEnDeg:
        return Tvaleur::CreateValD(0.9);
    case fNumVersion:
        return Tvaleur::CreateValI(NumVersionEvaluateur);
    case fPair:
        if (!a[0].valint()) return std::nullopt;
        return Tvaleur::CreateVal(a[0].val_I() % 2 == 0);
    case fBvr: {
        if (!a[0].valint() || !a[1].valint() || !a[2].valint()) return std::nullopt;
        const std::uint64_t b = std::uint64_t(a[0].val_I()), v = std::uint64_t(a[1].val_I()),
                            r = std::uint64_t(a[2].val_I());
        return Entier32(std::int64_t(b * 65536 + v * 256 + r));
    }
    }
    return std::nullopt;
}

// The arguments between parentheses, if any: expressions separated by ",".
TResultatLecture LireArguments(TLecture& l, TValArray& args) {
    if (l.Courant() != u'(') return lrLu;
    l.Suivant();
    for (;;) {
        args.emplace_back();
        const TResultatLecture r = LireExpression(l, args.back(), false);
        if (r != lrLu) return r;
        const char16_t c = l.Suivant();
        if (c == u')') return lrLu;
        if (c != u',') return lrErreur;
    }
}

// A variable name: "%" then A-Z, 0-9, "_" (or one of "%#&:" right after the "%"), or a run of
// A-Z and "_" with digits after the first character. Upper-cased.
std::u16string LireNom(TLecture& l) {
    l.SauterEspaces();
    std::u16string nom;
    if (l.Courant() == u'%') {
        nom += l.Suivant();
        const char16_t c = Maj(l.Courant());
        if (c == u'%' || c == u'#' || c == u'&' || c == u':') nom += l.Suivant();
    } else if (const char16_t c = Maj(l.Courant()); !((c >= u'A' && c <= u'Z') || c == u'_')) {
        return nom;
    }
    while (EstCarNom(Maj(l.Courant())))
        nom += Maj(l.Suivant());
    return nom;
}

// Up to three indices between "[" and "]", the missing ones being 1.
bool LireIndices(TLecture& l, std::int32_t& nb, TIndTbl& ind) {
    nb = 0;
    ind = {1, 1, 1};
    if (l.Courant() != u'[') return true;
    l.Suivant();
    for (;;) {
        if (nb == 3) return false;
        Tvaleur v = Tvaleur::CreateTyp(typInt);
        if (LireExpression(l, v, false) != lrLu) return false;
        const std::int64_t i = v.val_I();
        if (i < std::numeric_limits<std::int32_t>::min() ||
            i > std::numeric_limits<std::int32_t>::max())
            throw EErrIndice(MsgDepassementIndice);
        ind[std::size_t(nb++)] = std::int32_t(i);
        const char16_t c = l.Suivant();
        if (c == u']') return true;
        if (c != u',') return false;
    }
}

} // namespace

TResultatLecture LireFonction(TLecture& l, Tvaleur& operande) {
    const std::int32_t debut = l.Pos;
    const auto echec = [&](TResultatLecture r) {
        l.Pos = debut;
        return r;
    };
    const bool utilisateur = l.Courant() == u'?';
    if (utilisateur) l.Suivant();
    if (Maj(l.Courant()) < u'A') return echec(lrErreur);
    std::u16string nom;
    while (EstCarNom(Maj(l.Courant())))
        nom += Maj(l.Suivant());
    TValArray args;
    if (const TResultatLecture r = LireArguments(l, args); r != lrLu) return echec(r);

    const TFonctionNommee* f = utilisateur ? nullptr : ChercherFonction(nom);
    if (f == nullptr) {
        if (!l.FnFonction) return echec(lrErreur);
        std::optional<Tvaleur> v = l.FnFonction(nom, args);
        if (!v) return echec(lrErreur);
        operande = std::move(*v);
        return lrLu;
    }
    if (args.size() != f->nbArgs) return echec(lrErreur);
    std::optional<Tvaleur> v = Calculer(f->code, args);
    if (!v) return echec(lrErreur);
    operande = std::move(*v);
    return lrLu;
}

TResultatLecture LireVariable(TLecture& l, Tvaleur& operande) {
    if (!l.FnVariable) return lrErreur;
    const std::int32_t debut = l.Pos;
    const std::u16string nom = LireNom(l);
    std::int32_t nb = 0;
    TIndTbl ind{};
    std::optional<Tvaleur> v;
    if (nom.empty() || !LireIndices(l, nb, ind) || !(v = l.FnVariable(nom))) {
        l.Pos = debut;
        return lrErreur;
    }
    v->Select(nb, ind, true);
    operande = std::move(*v);
    return lrLu;
}
