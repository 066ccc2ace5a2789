#include "fields/ChampsEtude.h"

#include "fields/DomaineChamp.h"

#include <iterator>
#include <optional>
#include <string>

namespace {

struct TConfigChamp {
    TTypeVal type;
    std::optional<std::pair<std::string, std::string>> limites;
    std::string texteInitial;
    std::string indice; // the field's own hint, before the admitted range is added to it
};

// In the order the window applies the properties: limits, colours, type, display coefficient,
// filters, text; then the loaded form validates.
void Configurer(TCustomGenEdit& champ, const TConfigChamp& c) {
    champ.EcrireHint(c.indice);
    if (c.limites) {
        champ.EcrireGE_ValMin(c.limites->first);
        champ.EcrireGE_ValMax(c.limites->second);
    }
    champ.EcrireGE_ColorOK(CouleurFondFenetre);
    champ.EcrireGE_ColorErr(CouleurRouge);
    champ.EcrireGE_ColorChanging(CouleurVertMonnaie);
    champ.EcrireGE_TypeVal(c.type);
    champ.EcrireGE_CoefAff(1.0);
    const bool entier = c.type == TTypeVal::_integer;
    champ.EcrireGE_FltrUpLo(entier ? TTypeFltrUpLo::ulNeutre : TTypeFltrUpLo::ulUPcase);
    champ.EcrireGE_FltrSpace(TTypeFltrSpace::fsNoSpace);
    champ.EcrireGE_FltrChars(TTypeFltrChars::fcAllowed);
    champ.EcrireGE_FltrCharsList(entier ? "-+0123456789" : "-+.0123456789E");
    champ.EcrireText(c.texteInitial);
    champ.Charge();
}

} // namespace

TChampsEtude::TChampsEtude() {
    using P = std::pair<std::string, std::string>;
    Configurer(GEdLargeurAretier, {TTypeVal::_integer, P{"5", "200"}, "20", ""});
    Configurer(GEdNbArcsVoute, {TTypeVal::_integer, P{"3", "20"}, "5",
                                "Définit en combien d'arcs la voute sera décomposée"});
    Configurer(GEdMlinAretier, {TTypeVal::_integer, P{"20", "5000"}, "100", "En daN/mlin"});
    Configurer(GEdMsurfVoute, {TTypeVal::_integer, P{"10", "5000"}, "150", "en daN/m²"});
    Configurer(GEdMvolRemplissage,
               {TTypeVal::_integer, P{"0", "5000"}, "0", "en daN/m3, 0 si absent"});
    Configurer(GEdNivRemplissage, {TTypeVal::_double, std::nullopt, "0",
                                   "< 0 sous la clé, mettre masse vol. à 0 si pas de remplissage"});
    Configurer(GEdNivAppui,
               {TTypeVal::_double, std::nullopt, "0",
                "niveau de l'appui de l'arêtier par rapport à la clé, en m (< 0 sous la clé)"});
}

std::string TChampsEtude::ValeurRefusee(bool structure) const {
    const struct {
        const TCustomGenEdit& champ;
        const char* nom; // as the messages name it
        bool utilise;
        bool deStructure;
    } champs[] = {
        {GEdLargeurAretier, "la largeur de l'arc d'arêtier", true, true},
        {GEdNbArcsVoute, "le nombre d'arcs de voûte", true, true},
        {GEdMlinAretier, "la masse linéaire de l'arêtier", true, false},
        {GEdMsurfVoute, "la masse surfacique de la voûte", true, false},
        {GEdMvolRemplissage, "la masse volumique du remplissage", true, false},
        {GEdNivRemplissage, "le niveau du remplissage", true, false},
        {GEdNivAppui, "le niveau d'appui imposé", CkBxNivAppui, true},
    };
    for (const auto& c : champs)
        if (c.utilise && (c.deStructure || !structure) && !c.champ.ValOK())
            return std::string("valeur refusée pour ") + c.nom + " : « " + c.champ.Text() + " » (" +
                   DomaineAdmis(c.champ) + ")";
    return {};
}
