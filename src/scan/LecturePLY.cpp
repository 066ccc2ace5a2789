#include "scan/LecturePLY.h"

#include "scan/DecoupageLignes.h"
#include "scan/LectureBinaire.h"
#include "scan/LectureTexte.h"
#include "scan/LectureXYZ.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr std::size_t TailleMaxEnTete = 64 << 10;

enum class TType { Int8, Uint8, Int16, Uint16, Int32, Uint32, Float32, Float64 };

struct TNomType {
    const char* nom;
    TType type;
    std::size_t taille;
};
constexpr TNomType Types[] = {
    {"char", TType::Int8, 1},       {"int8", TType::Int8, 1},       {"uchar", TType::Uint8, 1},
    {"uint8", TType::Uint8, 1},     {"short", TType::Int16, 2},     {"int16", TType::Int16, 2},
    {"ushort", TType::Uint16, 2},   {"uint16", TType::Uint16, 2},   {"int", TType::Int32, 4},
    {"int32", TType::Int32, 4},     {"uint", TType::Uint32, 4},     {"uint32", TType::Uint32, 4},
    {"float", TType::Float32, 4},   {"float32", TType::Float32, 4}, {"double", TType::Float64, 8},
    {"float64", TType::Float64, 8},
};

struct TPropriete {
    std::string Nom;
    const TNomType* Type = nullptr;
    // A list: the type of its count, `Type` that of its items.
    const TNomType* TypeCompte = nullptr;
};

struct TElement {
    std::string Nom;
    std::uint64_t Nombre = 0;
    std::vector<TPropriete> Proprietes;
    bool AListes() const {
        return std::any_of(Proprietes.begin(), Proprietes.end(),
                           [](const TPropriete& p) { return p.TypeCompte != nullptr; });
    }
    // Bytes of an item in a binary file, lists counted empty.
    std::size_t TailleMin() const {
        std::size_t t = 0;
        for (const TPropriete& p : Proprietes)
            t += p.TypeCompte ? p.TypeCompte->taille : p.Type->taille;
        return t;
    }
};

enum class TCodage { Ascii, PetitBoutiste, GrandBoutiste };

struct TEnTetePLY {
    TCodage Codage = TCodage::Ascii;
    std::vector<TElement> Elements;
    std::size_t Sommets = 0; // index of the vertex element
    std::uint64_t DebutDonnees = 0;
};

std::string_view SansFinDeLigne(std::string_view t) {
    if (!t.empty() && t.back() == '\r') t.remove_suffix(1);
    return t;
}

constexpr std::size_t MotsMax = 64;

std::vector<std::string_view> Mots(std::string_view ligne) {
    std::vector<std::string_view> mots(MotsMax);
    mots.resize(ChampsSepares(ligne, mots.data(), MotsMax));
    return mots;
}

const TNomType* TypeNomme(std::string_view nom, const std::string& chemin) {
    for (const TNomType& t : Types)
        if (nom == t.nom) return &t;
    RefuserFichier(chemin, "type de propriété PLY inconnu (« " + std::string(nom) + " »)");
}

TEnTetePLY LireEnTete(TFichierLecture& fichier, const std::string& chemin) {
    std::string texte(std::size_t(std::min<std::uint64_t>(fichier.Taille(), TailleMaxEnTete)),
                      '\0');
    texte.resize(fichier.Lire(texte.data(), texte.size()));
    if (texte.rfind("ply", 0) != 0 || texte.size() < 4 || (texte[3] != '\n' && texte[3] != '\r'))
        RefuserFichier(chemin, "ce n'est pas un fichier PLY (« ply » absent en tête)");
    TEnTetePLY e;
    bool format = false, fin = false;
    std::size_t d = 0;
    while (!fin) {
        const std::size_t f = texte.find('\n', d);
        if (f == std::string::npos) RefuserFichier(chemin, "en-tête PLY sans « end_header »");
        const std::string_view ligne = std::string_view(texte).substr(d, f - d);
        const std::vector<std::string_view> m = Mots(ligne);
        d = f + 1;
        if (m.empty() || m[0] == "comment" || m[0] == "obj_info" || m[0] == "ply") continue;
        if (m[0] == "end_header") {
            fin = true;
        } else if (m[0] == "format" && m.size() >= 2) {
            format = true;
            if (m[1] == "ascii")
                e.Codage = TCodage::Ascii;
            else if (m[1] == "binary_little_endian")
                e.Codage = TCodage::PetitBoutiste;
            else if (m[1] == "binary_big_endian")
                e.Codage = TCodage::GrandBoutiste;
            else
                RefuserFichier(chemin, "format PLY inconnu (« " + std::string(m[1]) + " »)");
        } else if (m[0] == "element" && m.size() == 3) {
            TElement el;
            el.Nom = m[1];
            std::int64_t n = 0;
            if (!LireEntier(m[2], n) || n < 0)
                RefuserFichier(chemin,
                               "nombre d'éléments PLY invalide (« " + std::string(m[2]) + " »)");
            el.Nombre = std::uint64_t(n);
            e.Elements.push_back(el);
        } else if (m[0] == "property" && !e.Elements.empty() &&
                   (m.size() == 3 || (m.size() == 5 && m[1] == "list"))) {
            TPropriete p;
            p.Nom = m.back();
            if (m.size() == 5) {
                p.TypeCompte = TypeNomme(m[2], chemin);
                p.Type = TypeNomme(m[3], chemin);
            } else {
                p.Type = TypeNomme(m[1], chemin);
            }
            e.Elements.back().Proprietes.push_back(p);
        } else {
            RefuserFichier(chemin, "ligne d'en-tête PLY invalide (« " +
                                       std::string(SansFinDeLigne(ligne)) + " »)");
        }
    }
    if (!format) RefuserFichier(chemin, "en-tête PLY sans ligne « format »");
    e.DebutDonnees = d;
    const auto sommets = std::find_if(e.Elements.begin(), e.Elements.end(),
                                      [](const TElement& el) { return el.Nom == "vertex"; });
    if (sommets == e.Elements.end()) RefuserFichier(chemin, "aucun élément « vertex » dans le PLY");
    e.Sommets = std::size_t(sommets - e.Elements.begin());
    if (sommets->AListes()) RefuserFichier(chemin, "les sommets PLY ont une propriété liste");
    // Every item takes at least a byte (binary: its fixed properties; ascii: a line end).
    std::uint64_t reste = fichier.Taille() - e.DebutDonnees;
    for (std::size_t k = 0; k <= e.Sommets; ++k) {
        const TElement& el = e.Elements[k];
        const std::uint64_t taille =
            e.Codage == TCodage::Ascii ? 1 : std::max<std::uint64_t>(el.TailleMin(), 1);
        if (el.Nombre > reste / taille)
            RefuserFichier(chemin, "fichier PLY tronqué (" + std::to_string(el.Nombre) + " « " +
                                       el.Nom + " » annoncés, le fichier est plus court)");
        reste -= el.Nombre * taille;
    }
    return e;
}

// Where the vertex's values are: property places, and how colours are scaled.
struct TPlacesSommet {
    std::array<int, 6> Indices{-1, -1, -1, -1, -1, -1};
    std::vector<std::size_t> Decalages; // byte offsets of the properties (binary)
    std::size_t Taille = 0;
};

TPlacesSommet PlacesSommet(const TElement& el, const std::string& chemin) {
    static const std::array<std::vector<std::string>, 6> noms = {{
        {"x"},
        {"y"},
        {"z"},
        {"red", "r", "diffuse_red"},
        {"green", "g", "diffuse_green"},
        {"blue", "b", "diffuse_blue"},
    }};
    TPlacesSommet p;
    for (std::size_t k = 0; k < el.Proprietes.size(); ++k) {
        p.Decalages.push_back(p.Taille);
        p.Taille += el.Proprietes[k].Type->taille;
        for (std::size_t n = 0; n < noms.size(); ++n)
            if (p.Indices[n] < 0 &&
                std::find(noms[n].begin(), noms[n].end(), el.Proprietes[k].Nom) != noms[n].end())
                p.Indices[n] = int(k);
    }
    if (p.Indices[0] < 0 || p.Indices[1] < 0 || p.Indices[2] < 0)
        RefuserFichier(chemin, "les sommets PLY n'ont pas de propriétés x, y et z");
    return p;
}

double Valeur(const TNomType& t, const unsigned char* o, bool grand) {
    auto lire = [&](auto zero) {
        using T = decltype(zero);
        return double(grand ? LireGrandBoutiste<T>(o) : LirePetitBoutiste<T>(o));
    };
    switch (t.type) {
    case TType::Int8:
        return lire(std::int8_t{});
    case TType::Uint8:
        return lire(std::uint8_t{});
    case TType::Int16:
        return lire(std::int16_t{});
    case TType::Uint16:
        return lire(std::uint16_t{});
    case TType::Int32:
        return lire(std::int32_t{});
    case TType::Uint32:
        return lire(std::uint32_t{});
    case TType::Float32:
        return lire(float{});
    case TType::Float64:
        return lire(double{});
    }
    return 0;
}

// A colour value on 8 bits: 8-bit types as they are, 16-bit ones by their high byte, reals
// from 0..1.
std::uint8_t Composante(const TNomType& t, double v) {
    if (std::isnan(v)) return 0;
    if (t.type == TType::Float32 || t.type == TType::Float64)
        v = std::round(v * 255);
    else if (t.taille == 2)
        v = std::floor(v / 256);
    return std::uint8_t(std::clamp(v, 0.0, 255.0));
}

// Bytes of the binary file taken in blocks.
class TTampon {
public:
    TTampon(TFichierLecture& fichier, const std::string& chemin)
        : fichier_(fichier), chemin_(chemin), octets_(1 << 20) {}
    const unsigned char* Prendre(std::size_t n) {
        if (fin_ - debut_ < n) Remplir(n);
        const unsigned char* p = octets_.data() + debut_;
        debut_ += n;
        return p;
    }

private:
    void Remplir(std::size_t n) {
        std::copy(octets_.begin() + std::ptrdiff_t(debut_), octets_.begin() + std::ptrdiff_t(fin_),
                  octets_.begin());
        fin_ -= debut_;
        debut_ = 0;
        fin_ += fichier_.Lire(octets_.data() + fin_, octets_.size() - fin_);
        if (fin_ < n) RefuserFichier(chemin_, "fichier PLY tronqué");
    }
    TFichierLecture& fichier_;
    const std::string& chemin_;
    std::vector<unsigned char> octets_;
    std::size_t debut_ = 0, fin_ = 0;
};

void SauterBinaire(TTampon& tampon, const TElement& el, bool grand) {
    for (std::uint64_t i = 0; i < el.Nombre; ++i)
        for (const TPropriete& p : el.Proprietes) {
            if (!p.TypeCompte) {
                tampon.Prendre(p.Type->taille);
                continue;
            }
            const double n = Valeur(*p.TypeCompte, tampon.Prendre(p.TypeCompte->taille), grand);
            for (double k = 0; k < n; ++k)
                tampon.Prendre(p.Type->taille);
        }
}

void LireBinaire(TFichierLecture& fichier, const std::string& chemin, const TEnTetePLY& e,
                 TLotPointsLus& lot, TProgression& progression) {
    const bool grand = e.Codage == TCodage::GrandBoutiste;
    fichier.Aller(e.DebutDonnees);
    TTampon tampon(fichier, chemin);
    for (std::size_t k = 0; k < e.Sommets; ++k)
        SauterBinaire(tampon, e.Elements[k], grand);
    const TElement& sommets = e.Elements[e.Sommets];
    const TPlacesSommet places = PlacesSommet(sommets, chemin);
    for (std::uint64_t i = 0; i < sommets.Nombre; ++i) {
        const unsigned char* o = tampon.Prendre(places.Taille);
        TPointLu p;
        for (std::size_t n = 0; n < 6; ++n) {
            const int k = places.Indices[n];
            if (k < 0) continue;
            const TNomType& t = *sommets.Proprietes[std::size_t(k)].Type;
            const double v = Valeur(t, o + places.Decalages[std::size_t(k)], grand);
            if (n < 3)
                p.Coo[int(n)] = v;
            else
                p.Couleur[n - 3] = Composante(t, v);
        }
        lot.Ajouter(p);
        if ((i & 0xFFFF) == 0xFFFF) progression.Avancer(std::int64_t(i + 1));
    }
    progression.Avancer(std::int64_t(sommets.Nombre));
}

std::int64_t LireAscii(TFichierLecture& fichier, const std::string& chemin, const TEnTetePLY& e,
                       TLotPointsLus& lot, TProgression& progression) {
    fichier.Aller(e.DebutDonnees);
    std::uint64_t avant = 0;
    for (std::size_t k = 0; k < e.Sommets; ++k)
        avant += e.Elements[k].Nombre;
    const TElement& sommets = e.Elements[e.Sommets];
    const TPlacesSommet places = PlacesSommet(sommets, chemin);
    std::uint64_t ligne = 0, lus = 0;
    std::int64_t ignores = 0;
    TDecoupageLignes decoupage;
    std::vector<std::string_view> m(sommets.Proprietes.size());
    auto traiter = [&](std::string_view texte, bool tropLongue) {
        const std::uint64_t n = ligne++;
        if (n < avant || n >= avant + sommets.Nombre) return;
        ++lus;
        progression.Avancer(std::int64_t(lus));
        const std::size_t nb = ChampsSepares(texte, m.data(), m.size());
        TPointLu p;
        // A line holds every property of the vertex.
        bool bon = !tropLongue && nb == m.size();
        for (std::size_t c = 0; c < 6 && bon; ++c) {
            const int k = places.Indices[c];
            double v = 0;
            if (k < 0) continue;
            bon = std::size_t(k) < nb && LireReel(m[std::size_t(k)], v);
            if (c < 3)
                p.Coo[int(c)] = v;
            else
                p.Couleur[c - 3] = Composante(*sommets.Proprietes[std::size_t(k)].Type, v);
        }
        if (bon)
            lot.Ajouter(p);
        else
            ++ignores;
    };
    std::vector<char> bloc(256 << 10);
    for (;;) {
        const std::size_t n = fichier.Lire(bloc.data(), bloc.size());
        if (n == 0) break;
        decoupage.Ajouter(std::string_view(bloc.data(), n), traiter);
    }
    decoupage.Terminer(traiter);
    if (lus < sommets.Nombre)
        RefuserFichier(chemin, "fichier PLY tronqué (" + std::to_string(sommets.Nombre) +
                                   " sommets annoncés, " + std::to_string(lus) + " lus)");
    return ignores;
}

} // namespace

TBilanLecture LirePLY(const std::string& chemin, const TRecevoirPointsLus& recevoir,
                      const TSortieProgression& sortie) {
    TFichierLecture fichier(chemin);
    const TEnTetePLY e = LireEnTete(fichier, chemin);
    TProgression progression =
        TProgression::Fraction(sortie, "lecture : ", std::int64_t(e.Elements[e.Sommets].Nombre));
    TLotPointsLus lot(recevoir);
    std::int64_t ignores = 0;
    if (e.Codage == TCodage::Ascii)
        ignores = LireAscii(fichier, chemin, e, lot, progression);
    else
        LireBinaire(fichier, chemin, e, lot, progression);
    lot.Vider();
    TBilanLecture bilan = BilanLignesIgnorees(ignores);
    // Text holds the digits the writer gave, whatever type it declared.
    if (e.Codage != TCodage::Ascii) {
        const TElement& sommets = e.Elements[e.Sommets];
        const TPlacesSommet places = PlacesSommet(sommets, chemin);
        for (std::size_t a = 0; a < 3; ++a)
            bilan.Reels32Bits =
                bilan.Reels32Bits ||
                sommets.Proprietes[std::size_t(places.Indices[a])].Type->type == TType::Float32;
    }
    return bilan;
}
