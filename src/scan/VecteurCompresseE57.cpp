#include "scan/VecteurCompresseE57.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t TailleEnTeteSection = 32;
constexpr std::size_t Marge = 16;

enum : std::uint8_t { PaquetIndex = 0, PaquetDonnees = 1, PaquetVide = 2 };

template <typename T> T Lu(const std::uint8_t* o) {
    T v;
    std::memcpy(&v, o, sizeof v);
    return v;
}

// `bits` bits (0 to 64) from bit `p`, the first bit the least significant of its byte.
std::uint64_t Extraire(const std::uint8_t* o, std::uint64_t p, unsigned bits) {
    const std::uint8_t* d = o + p / 8;
    const unsigned s = unsigned(p % 8);
    std::uint64_t v = Lu<std::uint64_t>(d) >> s;
    if (s + bits > 64) v |= std::uint64_t(d[8]) << (64 - s);
    return bits == 64 ? v : v & ((std::uint64_t(1) << bits) - 1);
}

} // namespace

std::uint64_t TVecteurCompresseE57::TFlux::ValeursDisponibles() const {
    if (Champ->Bits == 0) return std::numeric_limits<std::uint64_t>::max();
    return (std::uint64_t(Valides) * 8 - BitLu) / Champ->Bits;
}

void TVecteurCompresseE57::TFlux::Ajouter(const std::uint8_t* o, std::size_t n) {
    // The bytes decoded are dropped first; a value cut by the packet's end keeps its first bits.
    const std::size_t consommes = std::size_t(BitLu / 8);
    std::memmove(Octets.data(), Octets.data() + consommes, Valides - consommes);
    Valides -= consommes;
    BitLu %= 8;
    Octets.resize(Valides + n + Marge);
    std::memcpy(Octets.data() + Valides, o, n);
    std::fill(Octets.begin() + std::ptrdiff_t(Valides + n), Octets.end(), 0);
    Valides += n;
}

void TVecteurCompresseE57::TFlux::Decoder(double* sortie, std::size_t n) {
    const TChampE57& c = *Champ;
    const std::uint8_t* o = Octets.data();
    switch (c.Codage) {
    case TCodageE57::Reel32:
        // Every value before it was 32 bits: still on a byte.
        for (std::size_t i = 0; i < n; ++i)
            sortie[i] = double(Lu<float>(o + BitLu / 8 + 4 * i));
        break;
    case TCodageE57::Reel64:
        for (std::size_t i = 0; i < n; ++i)
            sortie[i] = Lu<double>(o + BitLu / 8 + 8 * i);
        break;
    case TCodageE57::Entier:
    case TCodageE57::EntierEchelonne:
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t brut = Extraire(o, BitLu + std::uint64_t(i) * c.Bits, c.Bits);
            const auto valeur = std::int64_t(std::uint64_t(c.Mini) + brut);
            sortie[i] = double(valeur) * c.Echelle + c.Decalage;
        }
        break;
    case TCodageE57::Texte:
        break; // never decoded: refused before
    }
    BitLu += std::uint64_t(n) * c.Bits;
}

TVecteurCompresseE57::TVecteurCompresseE57(TPagesE57& pages, const TScanE57& scan,
                                           std::vector<std::size_t> utiles)
    : pages_(pages), scan_(scan), restants_(scan.NbRecords),
      debut_(pages.VersLogique(scan.OffsetSection, "vecteur de points")) {
    const std::uint64_t debut = debut_;
    std::uint8_t e[TailleEnTeteSection];
    pages.Lire(debut, e, sizeof e);
    const std::string ici = " à l'octet " + std::to_string(scan.OffsetSection);
    if (e[0] != 1)
        throw EDefautE57("en-tête de vecteur de points invalide" + ici + " (section de type " +
                         std::to_string(e[0]) + ", 1 attendu)");
    const auto longueur = Lu<std::uint64_t>(e + 8);
    if (longueur < TailleEnTeteSection || longueur > pages.LongueurLogique() - debut)
        throw EDefautE57("vecteur de points" + ici + " : longueur de section invalide (" +
                         std::to_string(longueur) + " octets)");
    finSection_ = debut + longueur;
    // Every record takes at least the bits of its fixed-width fields: a count that the section
    // cannot hold is refused before anything is read or allocated. A record of constant fields
    // takes no bit at all; it is counted as one, so that a few bytes cannot claim billions of
    // identical points.
    std::uint64_t bitsParRecord = 0;
    for (const TChampE57& c : scan.Champs)
        bitsParRecord += c.Bits;
    const std::uint64_t plafond = (longueur * 8) / std::max<std::uint64_t>(bitsParRecord, 1);
    if (scan.NbRecords > plafond)
        throw EDefautE57("vecteur de points" + ici + " : " + std::to_string(scan.NbRecords) +
                         " points annoncés, la section ne peut en contenir que " +
                         std::to_string(plafond));
    if (scan.NbRecords > 0) {
        position_ = pages.VersLogique(Lu<std::uint64_t>(e + 16), "paquets de points");
        if (position_ < debut + TailleEnTeteSection || position_ >= finSection_)
            throw EDefautE57("vecteur de points" + ici + " : premier paquet hors de la section");
    }
    for (std::size_t u : utiles) {
        TFlux f;
        f.Champ = &scan.Champs[u];
        f.Octets.assign(Marge, 0);
        flux_.push_back(std::move(f));
    }
    colonnes_.resize(flux_.size());
}

std::size_t TVecteurCompresseE57::Suivants(std::size_t max) {
    for (;;) {
        std::uint64_t n = std::min<std::uint64_t>(restants_, max);
        for (const TFlux& f : flux_)
            n = std::min(n, f.ValeursDisponibles());
        if (n > 0 || restants_ == 0) {
            for (std::size_t k = 0; k < flux_.size(); ++k) {
                colonnes_[k].resize(std::size_t(n));
                flux_[k].Decoder(colonnes_[k].data(), std::size_t(n));
            }
            restants_ -= n;
            return std::size_t(n);
        }
        LirePaquet();
    }
}

void TVecteurCompresseE57::LirePaquet() {
    const std::string ici = " (octet " + std::to_string(pages_.VersPhysique(position_)) + ")";
    if (finSection_ - position_ < 4)
        throw EDefautE57("vecteur de points tronqué : il manque " + std::to_string(restants_) +
                         " des " + std::to_string(scan_.NbRecords) + " points annoncés" + ici);
    std::uint8_t e[4];
    pages_.Lire(position_, e, 4);
    const std::size_t longueur = std::size_t(Lu<std::uint16_t>(e + 2)) + 1;
    if (longueur > finSection_ - position_)
        throw EDefautE57("paquet de points au-delà de la fin de sa section" + ici);
    const std::uint64_t debut = position_;
    position_ += longueur;
    if (e[0] == PaquetIndex || e[0] == PaquetVide) return;
    if (e[0] != PaquetDonnees)
        throw EDefautE57("paquet de type inconnu (" + std::to_string(e[0]) + ")" + ici);
    paquet_.resize(longueur);
    pages_.Lire(debut, paquet_.data(), longueur);
    const std::size_t nbFlux = longueur >= 6 ? Lu<std::uint16_t>(paquet_.data() + 4) : 0;
    if (longueur < 6 + 2 * nbFlux || nbFlux != scan_.Champs.size())
        throw EDefautE57("paquet de points malformé" + ici + " : " + std::to_string(nbFlux) +
                         " flux d'octets pour " + std::to_string(scan_.Champs.size()) + " champs");
    std::size_t fin = 6 + 2 * nbFlux;
    std::vector<std::size_t> debuts(nbFlux);
    for (std::size_t k = 0; k < nbFlux; ++k) {
        debuts[k] = fin;
        fin += Lu<std::uint16_t>(paquet_.data() + 6 + 2 * k);
    }
    if (fin > longueur)
        throw EDefautE57("paquet de points malformé" + ici + " : ses flux dépassent sa longueur");
    for (TFlux& f : flux_) {
        const std::size_t k = std::size_t(f.Champ - scan_.Champs.data());
        const std::size_t n = Lu<std::uint16_t>(paquet_.data() + 6 + 2 * k);
        f.Ajouter(paquet_.data() + debuts[k], n);
    }
}
