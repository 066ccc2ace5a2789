#pragma once
// The validated edit field without its widget: a typed value (integer, real, date or string)
// beside its text, checked against limits, with a character filter, a colour telling whether the
// text is valid, a hint showing the admitted range, and the value of an expression typed after
// "=". A widget drives it: it passes the user's text changes, typed characters, the leaving of
// the field and the popup's expression in, and shows the text, colour and hint that come out.

#include <cstdint>
#include <functional>
#include <string>

// 0x00RRGGBB, or a system colour (high byte 0xFF) that the widget resolves.
using TCouleur = std::uint32_t;
constexpr TCouleur CouleurRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TCouleur(r) << 16 | TCouleur(g) << 8 | b;
}
inline constexpr TCouleur CouleurFondFenetre = 0xFF000005; // system window background
inline constexpr TCouleur CouleurRouge = CouleurRGB(255, 0, 0);
inline constexpr TCouleur CouleurVertMonnaie = CouleurRGB(192, 220, 192);

enum class TTypeVal : std::uint8_t { _integer, _double, _date, _string };
enum class TTypeFltrUpLo : std::uint8_t { ulNeutre, ulUPcase, ulLOcase };
enum class TTypeFltrSpace : std::uint8_t { fsNeutre, fsNoSpace, fsNoLeadingSpace };
enum class TTypeFltrChars : std::uint8_t { fcNeutre, fcAllowed, fcRefused };

// What the widget does with a typed character.
struct TCaractereTraite {
    enum TAction : std::uint8_t {
        Inserer,  // insert `Car` (possibly case-converted) as usual
        Ignorer,  // drop it
        Calculer, // drop it, show the expression popup, then SaisirCalcul
    };
    TAction Action;
    char32_t Car;
};

class TCustomGenEdit {
public:
    using TGetValOK = std::function<bool(TCustomGenEdit& Sender)>;
    using TNotification = std::function<void(TCustomGenEdit& Sender)>;

    // `nom`: the component name that the type error message shows.
    explicit TCustomGenEdit(std::string nom = "GenEdit");
    virtual ~TCustomGenEdit() = default;

    const std::string& Name() const { return FName; }
    void EcrireName(const std::string& nom) { FName = nom; }

    // --- Properties ---
    const std::string& GE_ChnFrmt() const { return FChnFrmt; }
    void EcrireGE_ChnFrmt(const std::string& patron);
    const std::string& GE_ValMin() const { return FValMin; }
    void EcrireGE_ValMin(const std::string& texte) { SetLimite(0, texte); }
    const std::string& GE_ValMax() const { return FValMax; }
    void EcrireGE_ValMax(const std::string& texte) { SetLimite(1, texte); }
    TCouleur GE_ColorOK() const { return FColorOk; }
    void EcrireGE_ColorOK(TCouleur c) { FColorOk = c; }
    TCouleur GE_ColorErr() const { return FColorErr; }
    void EcrireGE_ColorErr(TCouleur c) { FColorErr = c; }
    TCouleur GE_ColorChanging() const { return FColorChanging; }
    void EcrireGE_ColorChanging(TCouleur c) { FColorChanging = c; }
    TTypeVal GE_TypeVal() const { return FTypeVal; }
    void EcrireGE_TypeVal(TTypeVal type);
    double GE_CoefAff() const { return FCoefAff; }
    void EcrireGE_CoefAff(double coef) { FCoefAff = coef == 0 ? 1.0 : coef; }
    TTypeFltrUpLo GE_FltrUpLo() const { return FFltrUpLo; }
    void EcrireGE_FltrUpLo(TTypeFltrUpLo filtre);
    TTypeFltrSpace GE_FltrSpace() const { return FFltrSpace; }
    void EcrireGE_FltrSpace(TTypeFltrSpace filtre);
    TTypeFltrChars GE_FltrChars() const { return FFltrChars; }
    void EcrireGE_FltrChars(TTypeFltrChars filtre);
    const std::string& GE_FltrCharsList() const { return FFltrCharsList; }
    void EcrireGE_FltrCharsList(const std::string& liste);
    // The caller's own acceptance test of a converting, in-range value.
    TGetValOK OnGetValOK;
    // Raised when the user's editing changed the text.
    TNotification OnChange;

    // The hint: the tooltip before "|", the long hint after it.
    const std::string& Hint() const { return FHint; }
    void EcrireHint(const std::string& indice);
    bool Enabled() const { return FEnabled; }
    void EcrireEnabled(bool actif);

    // --- Text and value ---
    std::string Text() const { return Ftext; }
    // Writes the text without validating it.
    void EcrireText(const std::string& texte);
    // Writes the text, then validates it and updates the colour.
    void TypeText(const std::string& texte);
    std::string ReadText() const { return Ftext; }
    // The text before the user's last change.
    const std::string& TextePrecedent() const { return Fvalprec; }

    // Reading a value validates the text again: 0 (or empty) when it does not convert. Reading
    // or writing a value of another type than GE_TypeVal raises an error.
    std::int32_t ValeurI();
    void EcrireValeurI(std::int32_t valeur);
    double ValeurD(); // internal units: the text shows it multiplied by GE_CoefAff
    void EcrireValeurD(double valeur);
    double ValeurDT(); // days since 30/12/1899
    void EcrireValeurDT(double valeur);
    std::string ValeurS();
    void EcrireValeurS(const std::string& valeur);
    // As left by the last validation; always true for a disabled field.
    virtual bool ValOK() const { return !FEnabled || (FtradOk && FlimOk); }
    bool EnEcriture() const { return FEnEcriture; }

    // Text to value: sets ValOK's state.
    void Valider();
    // Value to text, in its canonical form, then MajCouleur.
    void ValeurVersTexte();
    void MajCouleur();
    std::string FormaterD(double d) const;
    // Index 0: the minimum, 1: the maximum; rebuilds the hint with the range and validates.
    void SetLimite(int index, const std::string& texte);

    // --- What the widget reports ---
    // The control's text changed; ignored while the field writes its own text.
    void Changement(const std::string& texteControle);
    TCaractereTraite TraiterCaractere(char32_t c);
    // The field loses the focus. True when the widget raises its leaving event: the text
    // converted and was rewritten in its canonical form (" 007" becomes "7").
    bool Sortie();
    // The form holding the field is loaded: validates without the caller's test.
    void Charge();
    // The expression confirmed in the popup (without "="): its value becomes the field's,
    // limits aside. False when the text is no expression, or the field holds no number:
    // nothing changes. The evaluator's errors (a string result, DIV by 0, ...) leave as
    // exceptions, the field unchanged.
    bool SaisirCalcul(const std::string& texte);
    // The last expression typed in this field's popup: the popup starts from it.
    const std::string& CalculPrec() const { return FCalculPrec; }

    TCouleur Couleur() const { return FCouleur; }
    // The control reports its text as modified by the user since it was last written.
    bool Modifie() const { return FModifie; }
    // The last validation found a text that converts (within the limits or not).
    bool TradOk() const { return FtradOk; }

    // The widget's side: writes the control's text (called while EnEcriture is true), and
    // shows a new colour or hint.
    std::function<void(const std::string& texte)> SurEcritureControle;
    std::function<void()> SurAspect;

private:
    std::string FName;
    std::int32_t FValeurI = 0;
    double FValeurD = 0;
    double FValeurDT = 0;
    std::string FValeurS;
    std::string FChnFrmt;
    std::string FValMin, FValMax;
    TTypeVal FTypeVal = TTypeVal::_integer;
    TCouleur FColorOk = CouleurFondFenetre;
    TCouleur FColorErr = CouleurRouge;
    TCouleur FColorChanging = CouleurVertMonnaie;
    std::string HintBase;
    std::string FHint;
    bool FlimOk = false;
    bool FtradOk = false;
    double FCoefAff = 1.0;
    std::string FCalculPrec;
    std::string Ftext;
    std::string Fvalprec;
    bool FEnEcriture = false;
    TTypeFltrUpLo FFltrUpLo = TTypeFltrUpLo::ulNeutre;
    TTypeFltrSpace FFltrSpace = TTypeFltrSpace::fsNeutre;
    TTypeFltrChars FFltrChars = TTypeFltrChars::fcNeutre;
    std::string FFltrCharsList;
    bool FEnabled = true;
    bool FModifie = false;
    TCouleur FCouleur = CouleurFondFenetre;

    void VerifierType(TTypeVal type) const;
    // Whether the converted value lies within the limits.
    bool ConvertirTexte();
    bool AccepteParAppelant();
    void AppliquerFiltreCasse();
    void FixerCouleur(TCouleur c);
    void SignalerAspect();
};
