#include "fields/CGenEdit.h"

#include "expr/UEvalExp.h"
#include "fields/DateCourte.h"
#include "fields/PatronFormat.h"
#include "util/Erreurs.h"
#include "util/Format.h"
#include "util/StringUtils.h"
#include "util/Utf16.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace {

std::optional<std::int32_t> LireEntier32(const std::string& texte) {
    std::int64_t v = 0;
    if (!LireEntier(texte, v) || v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(v);
}

// A finite real, its decimal comma taken as the point: an overflowing text does not convert.
std::optional<double> LireReelFini(const std::string& texte) {
    double v = 0;
    if (!LireReelSaisi(texte, v) || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::size_t LongueurUtf16(const std::string& texte) {
    return Utf8VersUtf16(texte).size();
}

// The caller's test is withdrawn while it runs, so that a handler which reads the field's value
// (and so validates it again) does not call itself, and put back whatever happens.
class TSuspensionGetValOK {
public:
    explicit TSuspensionGetValOK(TCustomGenEdit::TGetValOK& test)
        : test_(test), garde_(std::exchange(test, nullptr)) {}
    ~TSuspensionGetValOK() { test_ = std::move(garde_); }
    TSuspensionGetValOK(const TSuspensionGetValOK&) = delete;
    TSuspensionGetValOK& operator=(const TSuspensionGetValOK&) = delete;
    const TCustomGenEdit::TGetValOK& Test() const { return garde_; }

private:
    TCustomGenEdit::TGetValOK& test_;
    TCustomGenEdit::TGetValOK garde_;
};

} // namespace

TCustomGenEdit::TCustomGenEdit(std::string nom) : FName(std::move(nom)) {}

void TCustomGenEdit::EcrireGE_ChnFrmt(const std::string& patron) {
    FChnFrmt = Rogner(patron);
}

void TCustomGenEdit::EcrireGE_TypeVal(TTypeVal type) {
    FTypeVal = type;
    switch (type) {
    case TTypeVal::_integer:
        FCoefAff = 1.0;
        FFltrSpace = TTypeFltrSpace::fsNoSpace;
        FFltrChars = TTypeFltrChars::fcAllowed;
        FFltrCharsList = "-+0123456789";
        break;
    case TTypeVal::_double:
        FFltrSpace = TTypeFltrSpace::fsNoSpace;
        FFltrChars = TTypeFltrChars::fcAllowed;
        FFltrCharsList = "-+.0123456789E";
        FFltrUpLo = TTypeFltrUpLo::ulUPcase;
        break;
    case TTypeVal::_date:
        FCoefAff = 1.0;
        FFltrSpace = TTypeFltrSpace::fsNoSpace;
        FFltrChars = TTypeFltrChars::fcAllowed;
        FFltrCharsList = "/0123456789";
        break;
    case TTypeVal::_string:
        FCoefAff = 1.0;
        FFltrSpace = TTypeFltrSpace::fsNeutre;
        FFltrChars = TTypeFltrChars::fcNeutre;
        FFltrCharsList.clear();
        break;
    }
}

void TCustomGenEdit::AppliquerFiltreCasse() {
    if (FFltrUpLo == TTypeFltrUpLo::ulUPcase) FFltrCharsList = MajusculesAscii(FFltrCharsList);
    if (FFltrUpLo == TTypeFltrUpLo::ulLOcase) FFltrCharsList = MinusculesAscii(FFltrCharsList);
}

void TCustomGenEdit::EcrireGE_FltrUpLo(TTypeFltrUpLo filtre) {
    FFltrUpLo = filtre;
    AppliquerFiltreCasse();
}

// The space and character filters of the other types follow from GE_TypeVal.
void TCustomGenEdit::EcrireGE_FltrSpace(TTypeFltrSpace filtre) {
    if (FTypeVal == TTypeVal::_string) FFltrSpace = filtre;
}

void TCustomGenEdit::EcrireGE_FltrChars(TTypeFltrChars filtre) {
    if (FTypeVal == TTypeVal::_string) FFltrChars = filtre;
}

void TCustomGenEdit::EcrireGE_FltrCharsList(const std::string& liste) {
    if (FTypeVal != TTypeVal::_string) return;
    FFltrCharsList = liste;
    AppliquerFiltreCasse();
}

void TCustomGenEdit::EcrireHint(const std::string& indice) {
    FHint = indice;
    SignalerAspect();
}

void TCustomGenEdit::EcrireEnabled(bool actif) {
    FEnabled = actif;
    MajCouleur();
}

void TCustomGenEdit::EcrireText(const std::string& texte) {
    FEnEcriture = true;
    Ftext = texte;
    FModifie = false;
    try {
        if (SurEcritureControle) SurEcritureControle(Ftext);
    } catch (...) {
        FEnEcriture = false;
        throw;
    }
    FEnEcriture = false;
}

void TCustomGenEdit::TypeText(const std::string& texte) {
    EcrireText(texte);
    MajCouleur();
}

void TCustomGenEdit::VerifierType(TTypeVal type) const {
    if (type != FTypeVal) throw EErreur(FName + " : erreur d'affectation de type");
}

std::int32_t TCustomGenEdit::ValeurI() {
    VerifierType(TTypeVal::_integer);
    Valider();
    return FtradOk ? FValeurI : 0;
}

void TCustomGenEdit::EcrireValeurI(std::int32_t valeur) {
    VerifierType(TTypeVal::_integer);
    FValeurI = valeur;
    ValeurVersTexte();
}

double TCustomGenEdit::ValeurD() {
    VerifierType(TTypeVal::_double);
    Valider();
    return FtradOk ? FValeurD : 0;
}

void TCustomGenEdit::EcrireValeurD(double valeur) {
    VerifierType(TTypeVal::_double);
    FValeurD = valeur;
    ValeurVersTexte();
}

double TCustomGenEdit::ValeurDT() {
    VerifierType(TTypeVal::_date);
    Valider();
    return FtradOk ? FValeurDT : 0;
}

void TCustomGenEdit::EcrireValeurDT(double valeur) {
    VerifierType(TTypeVal::_date);
    FValeurDT = valeur;
    ValeurVersTexte();
}

std::string TCustomGenEdit::ValeurS() {
    VerifierType(TTypeVal::_string);
    Valider();
    return FtradOk ? FValeurS : std::string();
}

void TCustomGenEdit::EcrireValeurS(const std::string& valeur) {
    VerifierType(TTypeVal::_string);
    FValeurS = valeur;
    ValeurVersTexte();
}

bool TCustomGenEdit::ConvertirTexte() {
    switch (FTypeVal) {
    case TTypeVal::_integer: {
        Ftext = Rogner(Ftext);
        const auto v = LireEntier32(SupprimerEspaces(Ftext));
        if (!v) break;
        FValeurI = *v;
        const auto min = LireEntier32(FValMin), max = LireEntier32(FValMax);
        return !(min && FValeurI < *min) && !(max && FValeurI > *max);
    }
    case TTypeVal::_double: {
        Ftext = Rogner(Ftext);
        const auto v = LireReelFini(SupprimerEspaces(Ftext));
        if (!v) break;
        FValeurD = *v / FCoefAff;
        const auto min = LireReelFini(FValMin), max = LireReelFini(FValMax);
        return !(min && *min / FCoefAff > FValeurD) && !(max && FValeurD > *max / FCoefAff);
    }
    case TTypeVal::_date: {
        Ftext = Rogner(Ftext);
        const auto v = LireDateCourte(Ftext);
        if (!v) break;
        FValeurDT = *v;
        const auto min = LireDateCourte(FValMin), max = LireDateCourte(FValMax);
        return !(min && *min > FValeurDT) && !(max && FValeurDT > *max);
    }
    case TTypeVal::_string: {
        // The limits are example texts whose lengths bound the value's length.
        FValeurS = Ftext;
        const std::size_t n = LongueurUtf16(FValeurS);
        return !(n < LongueurUtf16(FValMin)) && !(!FValMax.empty() && n > LongueurUtf16(FValMax));
    }
    }
    FtradOk = false;
    return false;
}

bool TCustomGenEdit::AccepteParAppelant() {
    const TSuspensionGetValOK suspension(OnGetValOK);
    if (!suspension.Test()) return true;
    try {
        return suspension.Test()(*this);
    } catch (...) {
        return false;
    }
}

void TCustomGenEdit::Valider() {
    FtradOk = true;
    FlimOk = false;
    if (ConvertirTexte()) FlimOk = AccepteParAppelant();
}

void TCustomGenEdit::FixerCouleur(TCouleur c) {
    if (c == FCouleur) return;
    FCouleur = c;
    SignalerAspect();
}

void TCustomGenEdit::SignalerAspect() {
    if (SurAspect) SurAspect();
}

void TCustomGenEdit::MajCouleur() {
    if (!FEnabled) {
        FixerCouleur(CouleurFondFenetre);
        return;
    }
    Valider();
    if (FtradOk && FlimOk)
        FixerCouleur(FModifie ? FColorChanging : FColorOk);
    else
        FixerCouleur(FColorErr);
}

std::string TCustomGenEdit::FormaterD(double d) const {
    const double affiche = d * FCoefAff;
    if (!FChnFrmt.empty())
        if (auto t = FormaterSelonPatron(FChnFrmt, affiche)) return *t;
    return FormaterReelGeneral(affiche);
}

void TCustomGenEdit::ValeurVersTexte() {
    std::string t;
    switch (FTypeVal) {
    case TTypeVal::_integer:
        t = std::to_string(FValeurI);
        if (!FChnFrmt.empty())
            if (auto f = FormaterSelonPatron(FChnFrmt, FValeurI)) t = *f;
        break;
    case TTypeVal::_double:
        t = FormaterD(FValeurD);
        break;
    case TTypeVal::_date:
        t = FormaterDateCourte(FValeurDT);
        break;
    case TTypeVal::_string:
        t = FValeurS;
        break;
    }
    EcrireText(EspacesInsecablesEnEspaces(t));
    MajCouleur();
}

void TCustomGenEdit::SetLimite(int index, const std::string& texte) {
    (index == 0 ? FValMin : FValMax) = Rogner(texte);
    if (HintBase.empty()) HintBase = FHint + "\r";
    const std::string plage = (FValMin.empty() ? "(rien)" : FValMin) + " < (valeur admise) < " +
                              (FValMax.empty() ? "(rien)" : FValMax);
    EcrireHint(HintBase + plage + "|" + RognerFin(HintBase));
    Valider();
}

void TCustomGenEdit::Changement(const std::string& texteControle) {
    if (FEnEcriture) return;
    FModifie = true;
    if (texteControle == Ftext) return;
    Fvalprec = std::exchange(Ftext, texteControle);
    if (OnChange) OnChange(*this);
}

TCaractereTraite TCustomGenEdit::TraiterCaractere(char32_t c) {
    using A = TCaractereTraite;
    if (c >= 256) return {A::Inserer, c};
    if (c < 32) return {c == 8 ? A::Inserer : A::Ignorer, c};
    if (c == U'=' && (FTypeVal == TTypeVal::_integer || FTypeVal == TTypeVal::_double))
        return {A::Calculer, c};
    // A decimal separator is never dropped silently: in a real field the comma is the point, in
    // an integer field either one is kept, so that the field shows itself invalid.
    if (FTypeVal == TTypeVal::_double && c == U',') c = U'.';
    if (FTypeVal == TTypeVal::_integer && (c == U',' || c == U'.')) return {A::Inserer, c};
    if (FFltrUpLo == TTypeFltrUpLo::ulUPcase && c >= U'a' && c <= U'z') c -= 32;
    if (FFltrUpLo == TTypeFltrUpLo::ulLOcase && c >= U'A' && c <= U'Z') c += 32;
    const bool dansListe = Utf8VersUtf16(FFltrCharsList).find(char16_t(c)) != std::u16string::npos;
    if ((FFltrChars == TTypeFltrChars::fcAllowed && !dansListe) ||
        (FFltrChars == TTypeFltrChars::fcRefused && dansListe))
        return {A::Ignorer, c};
    if (c == U' ' && (FFltrSpace == TTypeFltrSpace::fsNoSpace ||
                      (FFltrSpace == TTypeFltrSpace::fsNoLeadingSpace && Ftext.empty())))
        return {A::Ignorer, c};
    return {A::Inserer, c};
}

bool TCustomGenEdit::Sortie() {
    MajCouleur();
    if (!FtradOk) return false;
    ValeurVersTexte();
    return true;
}

void TCustomGenEdit::Charge() {
    const TSuspensionGetValOK suspension(OnGetValOK);
    Valider();
}

bool TCustomGenEdit::SaisirCalcul(const std::string& texte) {
    FCalculPrec = texte;
    const bool entier = FTypeVal == TTypeVal::_integer;
    Tvaleur v;
    if ((!entier && FTypeVal != TTypeVal::_double) || !CalculerTexte(v, Utf8VersUtf16(texte)))
        return false;
    if (entier)
        FValeurI = static_cast<std::int32_t>(v.val_I()); // the low 32 bits
    else
        FValeurD = v.val_D() / FCoefAff;
    ValeurVersTexte();
    return true;
}
