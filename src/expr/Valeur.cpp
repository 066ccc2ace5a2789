#include "expr/Valeur.h"

#include "expr/FormatReel.h"
#include "util/Utf16.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t TailleElementDuType(std::uint8_t type) {
    switch (type) {
    case typInt:
    case typDbl:
    case typStr:
    case typConstStr:
        return 8;
    case typBool:
        return 1;
    default:
        return 0;
    }
}

} // namespace

Tvaleur Tvaleur::CreateTyp(std::uint8_t type_) {
    Tvaleur v;
    v.InitialiserScalaire(type_);
    return v;
}

Tvaleur Tvaleur::CreateTbl(std::uint8_t type_, std::int32_t ndim, const TIndTbl& ind) {
    Tvaleur v;
    v.Initialiser(type_, ndim, ind);
    return v;
}

Tvaleur Tvaleur::CreateValB(bool B_) {
    Tvaleur v = CreateTyp(typBool);
    v.booleens_[0] = B_;
    return v;
}

Tvaleur Tvaleur::CreateVal(const std::u16string& S_) {
    Tvaleur v = CreateTyp(typStr);
    v.textes_[0] = S_;
    return v;
}

Tvaleur Tvaleur::CreateValD(double D_) {
    Tvaleur v = CreateTyp(typDbl);
    v.reels_[0] = D_;
    return v;
}

Tvaleur Tvaleur::CreateValI(std::int32_t I_) {
    Tvaleur v = CreateTyp(typInt);
    v.entiers_[0] = I_;
    return v;
}

void Tvaleur::Initialiser(std::uint8_t type, std::int32_t ndim, const TIndTbl& ind) {
    if (Ftypval != typNA && type != Ftypval) throw EErrAffectation();
    const std::int32_t tailleE = type == typNA ? sizdataE : TailleElementDuType(type);
    // Negative extents, or more elements than the 32-bit counts can hold, describe no array.
    std::int64_t n = 1;
    for (const std::int32_t e : ind) {
        if (e < 0) throw EErrIndice(MsgDepassementIndice);
        n *= e;
        if (n * std::max(tailleE, 1) > std::numeric_limits<std::int32_t>::max())
            throw EErrIndice(MsgDepassementIndice);
    }
    Ftypval = type;
    nbdim = ndim;
    indices1 = ind;
    sizdataE = tailleE;
    nbeltsdata = std::int32_t(n);
    sizdata = sizdataE * nbeltsdata;
    const std::size_t nb = sizdata == 0 ? 0 : std::size_t(nbeltsdata);
    entiers_.assign(type == typInt ? nb : 0, 0);
    reels_.assign(type == typDbl ? nb : 0, 0.0);
    booleens_.assign(type == typBool ? nb : 0, 0);
    textes_.assign(type == typStr || type == typConstStr ? nb : 0, std::u16string());
}

void Tvaleur::InitialiserScalaire(std::uint8_t type) {
    Initialiser(type, 0, {1, 1, 1});
    eltactif0 = 0; // a scalar's only element
}

void Tvaleur::SetSize(std::int32_t ndim, const TIndTbl& ind) {
    Initialiser(Ftypval, ndim, ind);
}

bool Tvaleur::SameSize(const Tvaleur& V) const {
    return sizdata == V.sizdata && nbdim == V.nbdim && indices1 == V.indices1;
}

void Tvaleur::AffecterScalaire(const Tvaleur& V_) {
    if (nbdim > 0) throw EErrIndice(MsgNbIndices);
    switch (Ftypval) {
    case typInt:
        EcrireVal_I(V_.val_I());
        break;
    case typDbl:
        EcrireVal_D(V_.val_D());
        break;
    case typBool:
        EcrireVal_B(V_.val_B());
        break;
    case typStr:
        EcrireVal_S(V_.val_S());
        break;
    default:
        break;
    }
}

std::size_t Tvaleur::Actif() const {
    if (eltactif0 < 0 || eltactif0 >= nbeltsdata) throw EErrIndice(MsgAuDelaTableau);
    return std::size_t(eltactif0);
}

std::int64_t Tvaleur::val_I() const {
    switch (Ftypval) {
    case typInt:
        return entiers_[Actif()];
    case typDbl: {
        // Only a truncation that lands inside the 64-bit range has a result (NaN has none).
        const double d = reels_[Actif()];
        if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) throw EErrAffectation();
        return static_cast<std::int64_t>(d);
    }
    case typBool:
        return booleens_[Actif()];
    default:
        throw EErrAffectation();
    }
}

double Tvaleur::val_D() const {
    switch (Ftypval) {
    case typInt:
        return double(entiers_[Actif()]);
    case typDbl:
        return reels_[Actif()];
    case typBool:
        return booleens_[Actif()];
    default:
        throw EErrAffectation();
    }
}

bool Tvaleur::val_B() const {
    switch (Ftypval) {
    case typInt:
        return entiers_[Actif()] != 0;
    case typDbl:
        return reels_[Actif()] != 0; // NaN counts as true
    case typBool:
        return booleens_[Actif()] != 0;
    default:
        throw EErrAffectation();
    }
}

std::u16string Tvaleur::val_S() const {
    if (!valstr()) throw EErrAffectation();
    return textes_[Actif()];
}

void Tvaleur::PreparerEcriture(std::uint8_t type) {
    if (Ftypval == typNA) {
        Tvaleur scalaire = CreateTyp(type);
        *this = std::move(scalaire);
    } else if (Ftypval != type) {
        throw EErrAffectation();
    }
}

void Tvaleur::EcrireVal_I(std::int64_t v) {
    if (Ftypval == typDbl) {
        reels_[Actif()] = double(v); // a real value accepts an integer
        return;
    }
    PreparerEcriture(typInt);
    entiers_[Actif()] = v;
}

void Tvaleur::EcrireVal_D(double v) {
    PreparerEcriture(typDbl);
    reels_[Actif()] = v;
}

void Tvaleur::EcrireVal_B(bool v) {
    PreparerEcriture(typBool);
    booleens_[Actif()] = v;
}

void Tvaleur::EcrireVal_S(const std::u16string& v) {
    if (Ftypval == typConstStr) {
        textes_[Actif()] = v;
        return;
    }
    PreparerEcriture(typStr);
    textes_[Actif()] = v;
}

void Tvaleur::Positionner(std::int32_t i1, std::int32_t i2, std::int32_t i3) {
    // 0 stands for an index not given; a negative one designates nothing.
    if (i1 < 0 || i2 < 0 || i3 < 0) throw EErrIndice(MsgDepassementIndice);
    std::int32_t e = 0;
    if (i1 > 0) {
        if (i1 > indices1[0]) throw EErrIndice(MsgDepassementIndice);
        e = i1 - 1;
        if (i2 > 0) {
            if (i2 > indices1[1]) throw EErrIndice(MsgDepassementIndice);
            e = e * indices1[1] + i2 - 1;
            if (i3 > 0) {
                if (i3 > indices1[2]) throw EErrIndice(MsgDepassementIndice);
                e = e * indices1[2] + i3 - 1;
            }
        }
    }
    eltactif0 = e;
}

std::int64_t Tvaleur::GetVal_I(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    return val_I();
}

double Tvaleur::GetVal_D(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    return val_D();
}

bool Tvaleur::GetVal_B(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    return val_B();
}

std::u16string Tvaleur::GetVal_S(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    return val_S();
}

void Tvaleur::SetVal_I(std::int64_t v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    EcrireVal_I(v);
}

void Tvaleur::SetVal_D(double v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    EcrireVal_D(v);
}

void Tvaleur::SetVal_B(bool v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    EcrireVal_B(v);
}

void Tvaleur::SetVal_S(const std::u16string& v, std::int32_t i1_1, std::int32_t i2_1,
                       std::int32_t i3_1) {
    Positionner(i1_1, i2_1, i3_1);
    EcrireVal_S(v);
}

void Tvaleur::Select(std::int32_t ndim, const TIndTbl& ind, bool checkdim) {
    if (checkdim && ndim != nbdim) throw EErrIndice(MsgNbIndices);
    for (std::size_t k = 0; k < 3; ++k)
        if (ind[k] < 1 || ind[k] > indices1[k]) throw EErrIndice(MsgDepassementIndice);
    eltactif0 = ((ind[2] - 1) * indices1[1] + ind[1] - 1) * indices1[0] + ind[0] - 1;
}

void Tvaleur::SelectSuivant() {
    ++eltactif0;
    if (eltactif0 >= nbeltsdata) throw EErrIndice(MsgAuDelaTableau);
}

std::int32_t Tvaleur::NbElts(std::int32_t ixdim1) const {
    return ixdim1 >= 1 && ixdim1 <= 3 ? indices1[std::size_t(ixdim1 - 1)] : 0;
}

std::u16string Tvaleur::formattxt() {
    std::u16string r;
    const auto texteElement = [&]() -> std::u16string {
        switch (Ftypval) {
        case typInt:
            return Utf8VersUtf16(std::to_string(val_I()));
        case typDbl:
            return Utf8VersUtf16(FormaterReelGeneral(val_D()));
        case typBool:
            return val_B() ? u"TRUE" : u"FALSE";
        case typStr:
        case typConstStr:
            return val_S();
        default:
            return u"**indéfini**";
        }
    };
    for (std::int32_t i1 = 1; i1 <= indices1[0]; ++i1)
        for (std::int32_t i2 = 1; i2 <= indices1[1]; ++i2)
            for (std::int32_t i3 = 1; i3 <= indices1[2]; ++i3) {
                Select(nbdim, {i1, i2, i3}, false);
                r += u"," + texteElement();
            }
    return r.empty() ? r : r.substr(1);
}
