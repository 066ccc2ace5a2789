#include "scan/DescriptionE57.h"

#include "scan/PagesE57.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <pugixml.hpp>
#include <string_view>

namespace {

std::string_view SansBlancs(std::string_view t) {
    const auto blanc = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!t.empty() && blanc(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && blanc(t.back()))
        t.remove_suffix(1);
    return t;
}

template <typename T> T LireNombre(std::string_view texte, const std::string& ou) {
    const std::string_view t = SansBlancs(texte);
    T v{};
    const auto [fin, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || fin != t.data() + t.size())
        throw EDefautE57("valeur illisible « " + std::string(t) + " » pour " + ou);
    return v;
}

// An attribute, or `defaut` when it is absent.
template <typename T> T Attribut(const pugi::xml_node& n, const char* nom, T defaut) {
    const pugi::xml_attribute a = n.attribute(nom);
    if (!a) return defaut;
    return LireNombre<T>(a.value(), std::string("l'attribut ") + nom + " de « " + n.name() + " »");
}

std::string_view Type(const pugi::xml_node& n) {
    return n.attribute("type").value();
}

// The value of a numeric element (an empty element is 0); `defaut` when the element is absent.
double Valeur(const pugi::xml_node& n, double defaut) {
    if (!n) return defaut;
    const std::string_view type = Type(n);
    const std::string_view texte = SansBlancs(n.child_value());
    const std::string ou = "l'élément « " + std::string(n.name()) + " »";
    if (type == "Float") return texte.empty() ? 0.0 : LireNombre<double>(texte, ou);
    if (type != "Integer" && type != "ScaledInteger")
        throw EDefautE57(ou + " n'est pas un nombre (type « " + std::string(type) + " »)");
    const double brut = texte.empty() ? 0.0 : double(LireNombre<std::int64_t>(texte, ou));
    if (type == "Integer") return brut;
    return brut * Attribut<double>(n, "scale", 1.0) + Attribut<double>(n, "offset", 0.0);
}

TChampE57 LireChamp(const pugi::xml_node& n, const std::string& nom) {
    TChampE57 c;
    c.Nom = nom;
    const std::string_view type = Type(n);
    const std::string ou = "le champ « " + nom + " »";
    if (type == "Float") {
        const std::string_view precision = n.attribute("precision").value();
        if (precision.empty() || precision == "double")
            c.Codage = TCodageE57::Reel64, c.Bits = 64;
        else if (precision == "single")
            c.Codage = TCodageE57::Reel32, c.Bits = 32;
        else
            throw EDefautE57("précision « " + std::string(precision) + " » inconnue pour " + ou);
        c.BornesEcrites = n.attribute("minimum") && n.attribute("maximum");
        c.BorneMin = Attribut<double>(n, "minimum", 0);
        c.BorneMax = Attribut<double>(n, "maximum", 0);
        return c;
    }
    if (type == "String") {
        c.Codage = TCodageE57::Texte;
        return c;
    }
    if (type != "Integer" && type != "ScaledInteger")
        throw EDefautE57("prototype inconnu : " + ou + " a le type « " + std::string(type) + " »");
    c.Codage = type == "Integer" ? TCodageE57::Entier : TCodageE57::EntierEchelonne;
    c.Mini = Attribut<std::int64_t>(n, "minimum", std::numeric_limits<std::int64_t>::min());
    c.Maxi = Attribut<std::int64_t>(n, "maximum", std::numeric_limits<std::int64_t>::max());
    if (c.Maxi < c.Mini) throw EDefautE57("maximum inférieur au minimum pour " + ou);
    if (c.Codage == TCodageE57::EntierEchelonne) {
        c.Echelle = Attribut<double>(n, "scale", 1.0);
        c.Decalage = Attribut<double>(n, "offset", 0.0);
        if (!std::isfinite(c.Echelle) || !std::isfinite(c.Decalage))
            throw EDefautE57("échelle ou décalage non fini pour " + ou);
        // Every value would land on the offset.
        if (c.Echelle == 0) throw EDefautE57("échelle nulle pour " + ou);
    }
    c.Bits = unsigned(std::bit_width(std::uint64_t(c.Maxi) - std::uint64_t(c.Mini)));
    c.BornesEcrites = n.attribute("minimum") && n.attribute("maximum");
    c.BorneMin = double(c.Mini) * c.Echelle + c.Decalage;
    c.BorneMax = double(c.Maxi) * c.Echelle + c.Decalage;
    return c;
}

// Real prototypes nest one or two structures; a deeper one is refused before its names grow
// with the depth or the walk exhausts the stack.
constexpr int ProfondeurMaxPrototype = 8;

// The fields of a prototype in the order of their bytestreams: depth first.
void AplatirPrototype(const pugi::xml_node& n, const std::string& prefixe, int profondeur,
                      std::vector<TChampE57>& champs) {
    for (const pugi::xml_node& enfant : n.children()) {
        if (enfant.type() != pugi::node_element) continue;
        const std::string nom = prefixe + enfant.name();
        const std::string_view type = Type(enfant);
        if (type != "Structure" && type != "Vector")
            champs.push_back(LireChamp(enfant, nom));
        else if (profondeur == ProfondeurMaxPrototype)
            throw EDefautE57("prototype trop imbriqué : plus de " +
                             std::to_string(ProfondeurMaxPrototype) + " niveaux de structures (« " +
                             nom + " »)");
        else
            AplatirPrototype(enfant, nom + "/", profondeur + 1, champs);
    }
}

void LirePose(const pugi::xml_node& pose, TScanE57& s) {
    if (!pose) return;
    const pugi::xml_node r = pose.child("rotation");
    if (r) {
        s.Rotation = {Valeur(r.child("w"), 0), Valeur(r.child("x"), 0), Valeur(r.child("y"), 0),
                      Valeur(r.child("z"), 0)};
        const double norme =
            std::sqrt(s.Rotation[0] * s.Rotation[0] + s.Rotation[1] * s.Rotation[1] +
                      s.Rotation[2] * s.Rotation[2] + s.Rotation[3] * s.Rotation[3]);
        if (!(norme > 0) || !std::isfinite(norme))
            throw EDefautE57("rotation de la pose invalide (quaternion nul ou non fini)");
        for (double& q : s.Rotation)
            q /= norme;
    }
    const pugi::xml_node t = pose.child("translation");
    s.Translation = {Valeur(t.child("x"), 0), Valeur(t.child("y"), 0), Valeur(t.child("z"), 0)};
    if (!std::isfinite(s.Translation.X) || !std::isfinite(s.Translation.Y) ||
        !std::isfinite(s.Translation.Z))
        throw EDefautE57("translation de la pose non finie");
}

void LireLimitesCouleur(const pugi::xml_node& limites, TScanE57& s) {
    if (!limites) return;
    const char* const noms[3][2] = {{"colorRedMinimum", "colorRedMaximum"},
                                    {"colorGreenMinimum", "colorGreenMaximum"},
                                    {"colorBlueMinimum", "colorBlueMaximum"}};
    for (std::size_t k = 0; k < 3; ++k) {
        const pugi::xml_node mini = limites.child(noms[k][0]), maxi = limites.child(noms[k][1]);
        if (!mini || !maxi) continue;
        TLimitesE57& l = s.LimitesCouleur[k];
        l.Mini = Valeur(mini, 0);
        l.Maxi = Valeur(maxi, 0);
        l.Connues = std::isfinite(l.Mini) && std::isfinite(l.Maxi) && l.Maxi > l.Mini;
    }
}

TScanE57 LireScan(const pugi::xml_node& n, std::size_t rang) {
    const std::string ou = "le relevé n° " + std::to_string(rang + 1);
    const pugi::xml_node points = n.child("points");
    if (!points || Type(points) != "CompressedVector")
        throw EDefautE57(ou + " n'a pas de vecteur de points (« points »)");
    TScanE57 s;
    if (!points.attribute("fileOffset") || !points.attribute("recordCount"))
        throw EDefautE57("position ou nombre de points absent pour " + ou);
    s.OffsetSection = Attribut<std::uint64_t>(points, "fileOffset", 0);
    s.NbRecords = Attribut<std::uint64_t>(points, "recordCount", 0);
    const pugi::xml_node prototype = points.child("prototype");
    if (!prototype) throw EDefautE57(ou + " n'a pas de prototype");
    AplatirPrototype(prototype, "", 0, s.Champs);
    for (const pugi::xml_node& codec : points.child("codecs").children())
        if (codec.type() == pugi::node_element)
            throw EDefautE57(ou + " utilise un codec de compression non pris en charge "
                                  "(seul le rangement par bits l'est)");
    LirePose(n.child("pose"), s);
    LireLimitesCouleur(n.child("colorLimits"), s);
    return s;
}

} // namespace

std::vector<TScanE57> LireDescriptionE57(const std::string& xml) {
    pugi::xml_document doc;
    const pugi::xml_parse_result r = doc.load_buffer(xml.data(), xml.size());
    if (!r)
        throw EDefautE57("section XML illisible (erreur à l'octet " + std::to_string(r.offset) +
                         " de la section)");
    const pugi::xml_node racine = doc.child("e57Root");
    if (!racine) throw EDefautE57("section XML sans élément racine « e57Root »");
    std::vector<TScanE57> scans;
    for (const pugi::xml_node& n : racine.child("data3D").children())
        if (n.type() == pugi::node_element) scans.push_back(LireScan(n, scans.size()));
    if (scans.empty()) throw EDefautE57("aucun nuage de points (data3D vide)");
    return scans;
}
