#include "EcritureE57.h"

#include "util/Crc32c.h"
#include "util/Erreurs.h"
#include "util/Fichiers.h"
#include "util/Format.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint64_t TaillePage = 1024, Utiles = TaillePage - 4;

std::uint64_t VersPhysique(std::uint64_t logique) {
    return logique / Utiles * TaillePage + logique % Utiles;
}

std::uint64_t Arrondi4(std::uint64_t n) {
    return (n + 3) / 4 * 4;
}

// The logical byte stream cut into checked pages.
class TEcriturePages {
public:
    explicit TEcriturePages(TFichierTemporaire& f) : f_(f), page_(TaillePage, 0) {}
    void Ecrire(const void* donnees, std::size_t n) {
        const auto* o = static_cast<const std::uint8_t*>(donnees);
        while (n > 0) {
            const std::size_t k = std::min<std::size_t>(n, Utiles - rempli_);
            std::memcpy(page_.data() + rempli_, o, k);
            rempli_ += k;
            o += k;
            n -= k;
            if (rempli_ == Utiles) Fermer();
        }
    }
    template <typename T> void Mot(T v) { Ecrire(&v, sizeof v); }
    void Terminer() {
        if (rempli_ > 0) Fermer();
    }

private:
    void Fermer() {
        std::fill(page_.begin() + std::ptrdiff_t(rempli_), page_.end(), 0);
        const std::uint32_t crc = Crc32c(page_.data(), Utiles);
        for (int k = 0; k < 4; ++k)
            page_[Utiles + std::size_t(k)] = std::uint8_t(crc >> (24 - 8 * k));
        f_.Ecrire(page_.data(), page_.size());
        rempli_ = 0;
    }
    TFichierTemporaire& f_;
    std::vector<std::uint8_t> page_;
    std::size_t rempli_ = 0;
};

// The bytes of one field's bytestream: values of `bits` bits, the first in the low bits of the
// first byte, a value cut by the end of a packet going on in the next one.
class TRangeur {
public:
    void Ajouter(std::uint64_t v, unsigned bits, std::vector<std::uint8_t>& octets) {
        // In two halves, so that a 64-bit value never shifts by 64.
        if (bits > 32) {
            Ajouter(v & 0xFFFFFFFFu, 32, octets);
            Ajouter(v >> 32, bits - 32, octets);
            return;
        }
        attente_ |= (bits == 0 ? 0 : v & ((std::uint64_t(1) << bits) - 1)) << nb_;
        nb_ += bits;
        for (; nb_ >= 8; nb_ -= 8, attente_ >>= 8)
            octets.push_back(std::uint8_t(attente_));
    }
    // The last bits, at the end of the stream.
    void Vider(std::vector<std::uint8_t>& octets) {
        if (nb_ > 0) octets.push_back(std::uint8_t(attente_));
        attente_ = 0;
        nb_ = 0;
    }

private:
    std::uint64_t attente_ = 0;
    unsigned nb_ = 0;
};

struct TChampEcrit {
    std::string Xml;
    unsigned Bits = 0;
    // The stored bits of a point's value.
    std::function<std::uint64_t(const TPointE57&)> Valeur;
};

constexpr unsigned BitsIntensite = 11;

// What a scan's records look like: the fields, in the order of their bytestreams.
struct TPlanScan {
    std::uint64_t NbRecords = 0;
    std::int64_t BrutMin[3] = {}, BrutMax[3] = {};
    std::vector<TChampEcrit> Champs;
    std::uint64_t LongueurSection = 0; // logical
    std::uint64_t Debut = 0;           // logical
};

template <typename T> std::uint64_t Bits(T v) {
    std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t> b;
    std::memcpy(&b, &v, sizeof v);
    return b;
}

TPlanScan Planifier(const TScanE57Ecrit& s) {
    TPlanScan plan;
    for (int a = 0; a < 3; ++a)
        plan.BrutMin[a] = std::numeric_limits<std::int64_t>::max(),
        plan.BrutMax[a] = std::numeric_limits<std::int64_t>::min();
    s.Points([&](const TPointE57& p) {
        ++plan.NbRecords;
        for (int a = 0; a < 3 && s.Codage == TCodageE57Ecrit::EntierEchelonne; ++a) {
            const std::int64_t brut = std::llround(p.P[a] / s.Echelle);
            plan.BrutMin[a] = std::min(plan.BrutMin[a], brut);
            plan.BrutMax[a] = std::max(plan.BrutMax[a], brut);
        }
    });
    const char* const noms[3] = {"cartesianX", "cartesianY", "cartesianZ"};
    for (int a = 0; a < 3; ++a) {
        TChampEcrit c;
        if (s.Codage == TCodageE57Ecrit::Reel32) {
            c.Xml = Formater("<%s type=\"Float\" precision=\"single\"/>", noms[a]);
            c.Bits = 32;
            c.Valeur = [a](const TPointE57& p) { return Bits(float(p.P[a])); };
        } else if (s.Codage == TCodageE57Ecrit::Reel64) {
            c.Xml = Formater("<%s type=\"Float\"/>", noms[a]);
            c.Bits = 64;
            c.Valeur = [a](const TPointE57& p) { return Bits(p.P[a]); };
        } else {
            const std::int64_t mini = plan.NbRecords ? plan.BrutMin[a] : 0;
            const std::int64_t maxi = plan.NbRecords ? plan.BrutMax[a] : 0;
            c.Xml = Formater("<%s type=\"ScaledInteger\" minimum=\"%lld\" maximum=\"%lld\" "
                             "scale=\"%.17g\"/>",
                             noms[a], static_cast<long long>(mini), static_cast<long long>(maxi),
                             s.Echelle);
            c.Bits = unsigned(std::bit_width(std::uint64_t(maxi - mini)));
            c.Valeur = [a, mini, echelle = s.Echelle](const TPointE57& p) {
                return std::uint64_t(std::llround(p.P[a] / echelle) - mini);
            };
        }
        plan.Champs.push_back(std::move(c));
    }
    // An intensity the reader has to skip.
    plan.Champs.push_back({Formater("<intensity type=\"Integer\" minimum=\"0\" maximum=\"%u\"/>",
                                    (1u << BitsIntensite) - 1),
                           BitsIntensite, [](const TPointE57& p) {
                               return std::uint64_t(p.Couleur[0] * 8u + p.Couleur[1]) &
                                      ((1u << BitsIntensite) - 1);
                           }});
    const char* const couleurs[3] = {"colorRed", "colorGreen", "colorBlue"};
    for (std::size_t k = 0; k < 3 && s.Couleur; ++k)
        plan.Champs.push_back(
            {Formater("<%s type=\"Integer\" minimum=\"0\" maximum=\"255\"/>", couleurs[k]), 8,
             [k](const TPointE57& p) { return std::uint64_t(p.Couleur[k]); }});
    if (s.EtatInvalide)
        plan.Champs.push_back(
            {"<cartesianInvalidState type=\"Integer\" minimum=\"0\" maximum=\"2\"/>", 2,
             [](const TPointE57& p) { return std::uint64_t(p.Invalide ? 2 : 0); }});
    // The lengths of the packets follow from the widths of the fields: a packet holds the bytes
    // its values complete, the last one the rest.
    const auto octetsAvant = [&](std::uint64_t records, unsigned bits) {
        return records == plan.NbRecords ? (records * bits + 7) / 8 : records * bits / 8;
    };
    plan.LongueurSection = 32;
    for (std::uint64_t fait = 0; fait < plan.NbRecords; fait += s.RecordsParPaquet) {
        const std::uint64_t fin = std::min(fait + s.RecordsParPaquet, plan.NbRecords);
        std::uint64_t longueur = 6 + 2 * plan.Champs.size();
        for (const TChampEcrit& c : plan.Champs)
            longueur += octetsAvant(fin, c.Bits) - octetsAvant(fait, c.Bits);
        if (longueur > 65536)
            throw EErreur("paquet E57 de plus de 64 Kio : moins de points par paquet");
        plan.LongueurSection += Arrondi4(longueur);
    }
    return plan;
}

void EcrirePaquet(TEcriturePages& pages, const TPlanScan& plan, const std::vector<TPointE57>& lot,
                  std::vector<TRangeur>& rangeurs, bool dernier) {
    std::vector<std::vector<std::uint8_t>> flux(plan.Champs.size());
    std::uint64_t longueur = 6 + 2 * flux.size();
    for (std::size_t k = 0; k < flux.size(); ++k) {
        const TChampEcrit& c = plan.Champs[k];
        for (const TPointE57& p : lot)
            rangeurs[k].Ajouter(c.Valeur(p), c.Bits, flux[k]);
        if (dernier) rangeurs[k].Vider(flux[k]);
        longueur += flux[k].size();
    }
    const std::uint64_t total = Arrondi4(longueur);
    pages.Mot(std::uint8_t(1));
    pages.Mot(std::uint8_t(0));
    pages.Mot(std::uint16_t(total - 1));
    pages.Mot(std::uint16_t(flux.size()));
    for (const auto& f : flux)
        pages.Mot(std::uint16_t(f.size()));
    for (const auto& f : flux)
        pages.Ecrire(f.data(), f.size());
    const std::uint8_t zeros[4] = {};
    pages.Ecrire(zeros, std::size_t(total - longueur));
}

std::string Xml(const std::vector<TScanE57Ecrit>& scans, const std::vector<TPlanScan>& plans) {
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<e57Root type=\"Structure\" "
                    "xmlns=\"http://www.astm.org/COMMIT/E57/2010-e57-v1.0\">\n"
                    "<formatName type=\"String\"><![CDATA[ASTM E57 3D Imaging Data File]]>"
                    "</formatName>\n<versionMajor type=\"Integer\">1</versionMajor>\n"
                    "<versionMinor type=\"Integer\"/>\n"
                    "<data3D type=\"Vector\" allowHeterogeneousChildren=\"1\">\n";
    for (std::size_t k = 0; k < scans.size(); ++k) {
        const TScanE57Ecrit& s = scans[k];
        const auto& [w, qx, qy, qz] = s.Rotation;
        x += Formater("<vectorChild type=\"Structure\">\n<pose type=\"Structure\">"
                      "<rotation type=\"Structure\"><w type=\"Float\">%.17g</w>"
                      "<x type=\"Float\">%.17g</x><y type=\"Float\">%.17g</y>"
                      "<z type=\"Float\">%.17g</z></rotation>"
                      "<translation type=\"Structure\"><x type=\"Float\">%.17g</x>"
                      "<y type=\"Float\">%.17g</y><z type=\"Float\">%.17g</z></translation>"
                      "</pose>\n",
                      w, qx, qy, qz, s.Translation.X, s.Translation.Y, s.Translation.Z);
        if (s.Couleur)
            x += "<colorLimits type=\"Structure\">"
                 "<colorRedMinimum type=\"Integer\"/>"
                 "<colorRedMaximum type=\"Integer\">255</colorRedMaximum>"
                 "<colorGreenMinimum type=\"Integer\"/>"
                 "<colorGreenMaximum type=\"Integer\">255</colorGreenMaximum>"
                 "<colorBlueMinimum type=\"Integer\"/>"
                 "<colorBlueMaximum type=\"Integer\">255</colorBlueMaximum></colorLimits>\n";
        x += Formater("<points type=\"CompressedVector\" fileOffset=\"%llu\" "
                      "recordCount=\"%llu\">\n<prototype type=\"Structure\">\n",
                      static_cast<unsigned long long>(VersPhysique(plans[k].Debut)),
                      static_cast<unsigned long long>(plans[k].NbRecords));
        for (const TChampEcrit& c : plans[k].Champs)
            x += c.Xml + "\n";
        x += "</prototype>\n<codecs type=\"Vector\" allowHeterogeneousChildren=\"1\"/>\n"
             "</points>\n</vectorChild>\n";
    }
    x += "</data3D>\n<images2D type=\"Vector\" allowHeterogeneousChildren=\"1\"/>\n</e57Root>\n";
    return x;
}

} // namespace

void EcrireE57(const std::string& chemin, const std::vector<TScanE57Ecrit>& scans) {
    std::vector<TPlanScan> plans;
    std::uint64_t logique = 48;
    for (const TScanE57Ecrit& s : scans) {
        plans.push_back(Planifier(s));
        plans.back().Debut = logique;
        logique += plans.back().LongueurSection;
    }
    const std::string xml = Xml(scans, plans);
    const std::uint64_t fin = logique + xml.size();
    const std::uint64_t longueurPhysique = (fin + Utiles - 1) / Utiles * TaillePage;

    TFichierTemporaire fichier(chemin);
    TEcriturePages pages(fichier);
    pages.Ecrire("ASTM-E57", 8);
    pages.Mot(std::uint32_t(1));
    pages.Mot(std::uint32_t(0));
    pages.Mot(longueurPhysique);
    pages.Mot(VersPhysique(logique));
    pages.Mot(std::uint64_t(xml.size()));
    pages.Mot(TaillePage);
    for (std::size_t k = 0; k < scans.size(); ++k) {
        const TPlanScan& plan = plans[k];
        pages.Mot(std::uint8_t(1));
        const std::uint8_t reserve[7] = {};
        pages.Ecrire(reserve, sizeof reserve);
        pages.Mot(plan.LongueurSection);
        pages.Mot(VersPhysique(plan.Debut + 32));
        pages.Mot(std::uint64_t(0));
        std::vector<TPointE57> lot;
        std::vector<TRangeur> rangeurs(plan.Champs.size());
        std::uint64_t ecrits = 0;
        scans[k].Points([&](const TPointE57& p) {
            lot.push_back(p);
            if (lot.size() == scans[k].RecordsParPaquet) {
                ecrits += lot.size();
                EcrirePaquet(pages, plan, lot, rangeurs, ecrits == plan.NbRecords);
                lot.clear();
            }
        });
        if (!lot.empty()) EcrirePaquet(pages, plan, lot, rangeurs, true);
    }
    pages.Ecrire(xml.data(), xml.size());
    pages.Terminer();
    fichier.Valider();
}
