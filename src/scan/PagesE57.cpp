#include "scan/PagesE57.h"

#include "util/Crc32c.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t TailleEnTete = 48;
// Bytes loaded at once (whole pages): large reads, few seeks.
constexpr std::uint64_t TailleBloc = 128 << 10;

std::uint64_t Mot64(const std::uint8_t* o) {
    std::uint64_t v;
    std::memcpy(&v, o, 8);
    return v;
}
std::uint32_t Mot32(const std::uint8_t* o) {
    std::uint32_t v;
    std::memcpy(&v, o, 4);
    return v;
}

} // namespace

TPagesE57::TPagesE57(const std::string& chemin) {
    std::uint64_t taille = 0;
    {
        // The size and the first bytes through the program's file class, for its messages.
        TFichierLecture fichier(chemin);
        taille = fichier.Taille();
    }
    f_.reset(OuvrirFichier(chemin, "rb"));
    if (!f_) throw EErreur("impossible d'ouvrir « " + chemin + " » : " + ErreurSysteme(errno));
    std::uint8_t o[TailleEnTete];
    if (taille < TailleEnTete || std::fread(o, 1, TailleEnTete, f_.get()) != TailleEnTete)
        throw EDefautE57("trop court pour un fichier E57 (" + std::to_string(taille) + " octets)");
    if (std::memcmp(o, "ASTM-E57", 8) != 0)
        throw EDefautE57("signature « ASTM-E57 » absente : ce n'est pas un fichier E57");
    entete_ = {Mot32(o + 8),  Mot32(o + 12), Mot64(o + 16),
               Mot64(o + 24), Mot64(o + 32), Mot64(o + 40)};
    const TEnTeteE57& e = entete_;
    if (e.VersionMajeure != 1)
        throw EDefautE57("version " + std::to_string(e.VersionMajeure) + "." +
                         std::to_string(e.VersionMineure) + " non prise en charge (1.x attendue)");
    if (e.TaillePage < 64 || e.TaillePage > (1u << 20) || e.TaillePage % 4 != 0)
        throw EDefautE57("taille de page invalide (" + std::to_string(e.TaillePage) + " octets)");
    if (e.LongueurPhysique > taille)
        throw EDefautE57("fichier tronqué : l'en-tête annonce " +
                         std::to_string(e.LongueurPhysique) + " octets, le fichier en a " +
                         std::to_string(taille));
    if (e.LongueurPhysique == 0 || e.LongueurPhysique % e.TaillePage != 0)
        throw EDefautE57("longueur annoncée (" + std::to_string(e.LongueurPhysique) +
                         " octets) qui n'est pas un nombre entier de pages de " +
                         std::to_string(e.TaillePage) + " octets");
    nbPages_ = e.LongueurPhysique / e.TaillePage;
    pagesParBloc_ = std::max<std::uint64_t>(1, TailleBloc / e.TaillePage);
    bloc_.resize(std::size_t(std::min(pagesParBloc_, nbPages_) * e.TaillePage));
    // The header's own page is checked like any other.
    std::uint8_t relu[TailleEnTete];
    Lire(0, relu, TailleEnTete);
}

std::uint64_t TPagesE57::VersLogique(std::uint64_t physique, const std::string& quoi) const {
    if (physique >= entete_.LongueurPhysique || physique % entete_.TaillePage >= Utiles())
        throw EDefautE57(quoi + " : offset " + std::to_string(physique) +
                         " hors des données du fichier");
    return physique / entete_.TaillePage * Utiles() + physique % entete_.TaillePage;
}

std::uint64_t TPagesE57::VersPhysique(std::uint64_t logique) const {
    return logique / Utiles() * entete_.TaillePage + logique % Utiles();
}

void TPagesE57::ChargerBloc(std::uint64_t page) {
    const std::uint64_t taillePage = entete_.TaillePage;
    const std::uint64_t pages = std::min(pagesParBloc_, nbPages_ - page);
    const std::size_t octets = std::size_t(pages * taillePage);
    pagesDuBloc_ = 0;
    if (fseeko(f_.get(), off_t(page * taillePage), SEEK_SET) != 0 ||
        std::fread(bloc_.data(), 1, octets, f_.get()) != octets)
        throw EDefautE57("lecture impossible à l'octet " + std::to_string(page * taillePage));
    for (std::uint64_t p = 0; p < pages; ++p) {
        const std::uint8_t* debut = bloc_.data() + p * taillePage;
        const std::uint32_t calcule = Crc32c(debut, std::size_t(Utiles()));
        const std::uint8_t* fin = debut + Utiles();
        // The checksum is the one big-endian number of the format.
        const std::uint32_t ecrit = std::uint32_t(fin[0]) << 24 | std::uint32_t(fin[1]) << 16 |
                                    std::uint32_t(fin[2]) << 8 | fin[3];
        if (calcule != ecrit)
            throw EDefautE57("page " + std::to_string(page + p) + " (octet " +
                             std::to_string((page + p) * taillePage) +
                             ") abîmée : sa somme de contrôle CRC-32C ne correspond pas");
    }
    premierePage_ = page;
    pagesDuBloc_ = pages;
}

void TPagesE57::Lire(std::uint64_t logique, void* destination, std::size_t n) {
    if (logique > LongueurLogique() || n > LongueurLogique() - logique)
        throw EDefautE57("données au-delà de la fin du fichier (octet " +
                         std::to_string(VersPhysique(logique)) + ")");
    auto* d = static_cast<std::uint8_t*>(destination);
    while (n > 0) {
        const std::uint64_t page = logique / Utiles();
        const std::uint64_t dansPage = logique % Utiles();
        if (page < premierePage_ || page >= premierePage_ + pagesDuBloc_) ChargerBloc(page);
        const std::size_t k = std::size_t(std::min<std::uint64_t>(n, Utiles() - dansPage));
        std::memcpy(d, bloc_.data() + (page - premierePage_) * entete_.TaillePage + dansPage, k);
        d += k;
        n -= k;
        logique += k;
    }
}

std::string TPagesE57::LireXml() {
    const std::uint64_t debut = VersLogique(entete_.OffsetXml, "section XML");
    if (entete_.LongueurXml == 0) throw EDefautE57("section XML vide");
    if (entete_.LongueurXml > LongueurLogique() - debut)
        throw EDefautE57("section XML annoncée de " + std::to_string(entete_.LongueurXml) +
                         " octets, au-delà de la fin du fichier");
    std::string xml(std::size_t(entete_.LongueurXml), '\0');
    Lire(debut, xml.data(), xml.size());
    return xml;
}
