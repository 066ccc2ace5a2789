#pragma once
// Tvaleur: the typed value of the expression evaluator, a scalar or an array of up to three
// dimensions whose elements share one type. Every conversion or index fault is an exception.

#include "util/Erreurs.h"

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <vector>

// Type codes: one bit each, so that a mask tests several at once (typOK).
inline constexpr std::uint8_t typNA = 0;
inline constexpr std::uint8_t typInt = 1;
inline constexpr std::uint8_t typDbl = 2;
inline constexpr std::uint8_t typBool = 4;
inline constexpr std::uint8_t typStr = 8;
inline constexpr std::uint8_t typConstStr = 16;

// Extents of the three dimensions, or the indices of one element; [0] is dimension 1.
using TIndTbl = std::array<std::int32_t, 3>;

class EErrAffectation : public EErreur {
public:
    EErrAffectation() : EErreur("impossible d'affecter la valeur à cette variable") {}
};

class EErrIndice : public EErreur {
public:
    using EErreur::EErreur;
};

inline constexpr const char* MsgNbIndices =
    "valeur scalaire ou nombre d'indices incorrect sur valeur tableau";
inline constexpr const char* MsgDepassementIndice = "dépassement d'indice sur valeur tableau";
inline constexpr const char* MsgAuDelaTableau = "accès au-delà des limites du tableau";

class Tvaleur {
public:
    // No type, no storage, every extent 0: the first write or Assign gives it a type.
    Tvaleur() = default;

    static Tvaleur CreateTyp(std::uint8_t type_);
    static Tvaleur CreateTbl(std::uint8_t type_, std::int32_t ndim, const TIndTbl& ind);
    static Tvaleur CreateFrom(const Tvaleur& V_) { return V_; }
    static Tvaleur CreateVal(double D_) { return CreateValD(D_); }
    static Tvaleur CreateVal(std::int32_t I_) { return CreateValI(I_); }
    // Only a real bool: a pointer would convert to one.
    template <std::same_as<bool> B> static Tvaleur CreateVal(B B_) { return CreateValB(B_); }
    static Tvaleur CreateVal(const std::u16string& S_);
    static Tvaleur CreateValX(double X_) { return CreateValD(X_); }
    static Tvaleur CreateValD(double D_);
    static Tvaleur CreateValI(std::int32_t I_);
    static Tvaleur CreateValB(bool B_);

    void SetSize(std::int32_t ndim, const TIndTbl& ind);
    bool SameSize(const Tvaleur& V) const;
    void Assign(const Tvaleur& V_) { *this = V_; }
    void AffecterScalaire(const Tvaleur& V_);

    std::uint8_t TypeVal() const { return Ftypval; }
    std::int32_t NbDimTbl() const { return nbdim; }
    bool typOK(std::uint8_t typval_) const { return (typval_ & Ftypval) != 0; }
    bool valna() const { return Ftypval == typNA; }
    bool valint() const { return Ftypval == typInt; }
    bool valdbl() const { return Ftypval == typDbl; }
    bool valnum() const { return typOK(typInt | typDbl); }
    bool valbool() const { return Ftypval == typBool; }
    bool valalg() const { return typOK(typInt | typDbl | typBool); }
    bool valstr() const { return typOK(typStr | typConstStr); }
    bool valconststr() const { return Ftypval == typConstStr; }
    bool valtableau() const { return nbdim > 0; }

    // The active element, converted to the requested type.
    std::int64_t val_I() const;
    double val_D() const;
    bool val_B() const;
    std::u16string val_S() const;
    void EcrireVal_I(std::int64_t v);
    void EcrireVal_D(double v);
    void EcrireVal_B(bool v);
    void EcrireVal_S(const std::u16string& v);

    // Indexed access, the last index varying fastest; an index <= 0 ends the indexing.
    std::int64_t GetVal_I(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    double GetVal_D(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    bool GetVal_B(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    std::u16string GetVal_S(std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    void SetVal_I(std::int64_t v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    void SetVal_D(double v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    void SetVal_B(bool v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);
    void SetVal_S(const std::u16string& v, std::int32_t i1_1, std::int32_t i2_1, std::int32_t i3_1);

    // Makes the element of indices `ind` active, the first index varying fastest.
    void Select(std::int32_t ndim, const TIndTbl& ind, bool checkdim);
    void SelectSuivant();
    bool FinDuTableau() const { return eltactif0 == nbeltsdata - 1; }
    std::int32_t NbElts(std::int32_t ixdim1) const;
    std::u16string formattxt();

    std::int32_t TailleElement() const { return sizdataE; }
    std::int32_t TailleDonnees() const { return sizdata; }
    std::int32_t NbEltsDonnees() const { return nbeltsdata; }
    std::int32_t EltActif() const { return eltactif0; }

private:
    std::uint8_t Ftypval = typNA;
    std::int32_t nbdim = 0;
    std::int32_t sizdataE = 0;
    std::int32_t sizdata = 0;
    std::int32_t nbeltsdata = 0;
    std::int32_t eltactif0 = 0;
    TIndTbl indices1{0, 0, 0};
    // Element storage: only the container of the value's type is used.
    std::vector<std::int64_t> entiers_;
    std::vector<double> reels_;
    std::vector<std::uint8_t> booleens_;
    std::vector<std::u16string> textes_;

    void Initialiser(std::uint8_t type, std::int32_t ndim, const TIndTbl& ind);
    void InitialiserScalaire(std::uint8_t type);
    void Positionner(std::int32_t i1, std::int32_t i2, std::int32_t i3);
    // Number of the active element, checked against the storage (it may be past the end after
    // SelectSuivant or a SetSize to fewer elements).
    std::size_t Actif() const;
    // Prepares a write of the given type: a value with no type becomes a scalar of it; any
    // other type than the value's own is refused.
    void PreparerEcriture(std::uint8_t type);
};

// Argument list of a function call.
using TValArray = std::vector<Tvaleur>;
