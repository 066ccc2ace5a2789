#include "expr/Operateurs.h"

#include "expr/Evaluateur.h"
#include "expr/PuissanceReelle.h"

#include <limits>
#include <optional>

namespace {

enum : std::uint8_t {
    opPlus = 0x10,
    opMoins = 0x11,
    opFois = 0x12,
    opDivise = 0x13,
    opDiv = 0x14,
    opMod = 0x15,
    opPuissance = 0x16,
    opEgal = 0x20,
    opDifferent = 0x21,
    opInferieur = 0x22,
    opSuperieur = 0x23,
    opInfEgal = 0x24,
    opSupEgal = 0x25,
    opOu = 0x30,
    opOuEx = 0x31,
    opEt = 0x32,
    opNon = 0x33,
    opConcat = 0x40,
};

// 64-bit integer arithmetic wraps on overflow.
std::int64_t Somme(std::int64_t a, std::int64_t b) {
    return std::int64_t(std::uint64_t(a) + std::uint64_t(b));
}
std::int64_t Difference(std::int64_t a, std::int64_t b) {
    return std::int64_t(std::uint64_t(a) - std::uint64_t(b));
}
std::int64_t Produit(std::int64_t a, std::int64_t b) {
    return std::int64_t(std::uint64_t(a) * std::uint64_t(b));
}

// An integer value holding any 64-bit number (CreateValI only takes 32 bits).
Tvaleur ValeurEntiere(std::int64_t v) {
    Tvaleur r = Tvaleur::CreateTyp(typInt);
    r.EcrireVal_I(v);
    return r;
}

std::int64_t DivisionEntiere(std::uint8_t code, std::int64_t a, std::int64_t b) {
    if (b == 0) throw EErrDivisionEntiere("division entière par zéro");
    if (a == std::numeric_limits<std::int64_t>::min() && b == -1)
        throw EErrDivisionEntiere("division entière hors des entiers 64 bits");
    return code == opDiv ? a / b : a % b;
}

std::optional<Tvaleur> Arithmetique(std::uint8_t code, const Tvaleur& a, const Tvaleur& b) {
    if (!a.valnum() || !b.valnum()) return std::nullopt;
    const bool entiers = a.valint() && b.valint();
    switch (code) {
    case opPlus:
    case opMoins:
    case opFois:
        if (entiers) {
            const std::int64_t x = a.val_I(), y = b.val_I();
            return ValeurEntiere(code == opPlus    ? Somme(x, y)
                                 : code == opMoins ? Difference(x, y)
                                                   : Produit(x, y));
        } else {
            const double x = a.val_D(), y = b.val_D();
            return Tvaleur::CreateValD(code == opPlus ? x + y : code == opMoins ? x - y : x * y);
        }
    case opDivise:
        return Tvaleur::CreateValD(a.val_D() / b.val_D());
    case opDiv:
    case opMod: {
        const std::int64_t q = DivisionEntiere(code, a.val_I(), b.val_I());
        return entiers ? ValeurEntiere(q) : Tvaleur::CreateValD(double(q));
    }
    case opPuissance:
        return Tvaleur::CreateValD(PuissanceReelle(a.val_D(), b.val_D()));
    default:
        return std::nullopt;
    }
}

std::optional<Tvaleur> Comparaison(std::uint8_t code, const Tvaleur& a, const Tvaleur& b) {
    double d;
    if (a.valint() && b.valint()) {
        d = double(Difference(a.val_I(), b.val_I()));
    } else if (a.valnum() && b.valnum()) {
        d = a.val_D() - b.val_D();
    } else if (a.valbool() && b.valbool()) {
        d = double(int(a.val_B()) - int(b.val_B()));
    } else if (a.valstr() && b.valstr()) {
        const int c = a.val_S().compare(b.val_S());
        d = c == 0 ? 0 : c < 0 ? -1 : 1;
    } else {
        return std::nullopt;
    }
    switch (code) {
    case opEgal:
        return Tvaleur::CreateVal(d == 0);
    case opDifferent:
        return Tvaleur::CreateVal(d != 0);
    case opInferieur:
        return Tvaleur::CreateVal(d < 0);
    case opSuperieur:
        return Tvaleur::CreateVal(d > 0);
    case opInfEgal:
        return Tvaleur::CreateVal(d <= 0);
    case opSupEgal:
        return Tvaleur::CreateVal(d >= 0);
    default:
        return std::nullopt;
    }
}

std::optional<Tvaleur> Logique(std::uint8_t code, const Tvaleur& a, const Tvaleur& b) {
    if (!a.valbool() || !b.valbool()) return std::nullopt;
    const bool x = a.val_B(), y = b.val_B();
    switch (code) {
    case opOu:
        return Tvaleur::CreateVal(x || y);
    case opOuEx:
        return Tvaleur::CreateVal(x != y);
    case opEt:
        return Tvaleur::CreateVal(x && y);
    default: // NON between two booleans
        return Tvaleur::CreateVal(false);
    }
}

} // namespace

bool Toperateur::resultatUnaire(Tvaleur& opd) const {
    switch (codeop()) {
    case opNon:
        if (!opd.valbool()) return false;
        opd.EcrireVal_B(!opd.val_B());
        return true;
    case opMoins:
        if (opd.valint()) {
            opd.EcrireVal_I(Difference(0, opd.val_I()));
        } else if (opd.valdbl()) {
            opd.EcrireVal_D(0 - opd.val_D());
        } else {
            return false;
        }
        return true;
    case opPlus:
        return opd.valnum();
    default:
        return false;
    }
}

bool Toperateur::resultat(const Tvaleur& gauche, Tvaleur& droite) const {
    std::optional<Tvaleur> r;
    switch (codeop() & 0xF0) {
    case 0x10:
        r = Arithmetique(codeop(), gauche, droite);
        break;
    case 0x20:
        r = Comparaison(codeop(), gauche, droite);
        break;
    case 0x30:
        r = Logique(codeop(), gauche, droite);
        break;
    case 0x40:
        if (gauche.valstr() && droite.valstr())
            r = Tvaleur::CreateVal(gauche.val_S() + droite.val_S());
        break;
    default:
        break;
    }
    if (!r) return false;
    droite = std::move(*r);
    return true;
}
