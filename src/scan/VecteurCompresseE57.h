#pragma once
// The records of one compressed vector section: its data packets walked in order (index and empty
// packets skipped), each field's bytestream followed across packets and its bit-packed values
// decoded, a batch at a time, into columns of reals.

#include "scan/DescriptionE57.h"
#include "scan/PagesE57.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TVecteurCompresseE57 {
public:
    // Checks the section's header and that its length can hold the records it claims; only the
    // fields `utiles` (their places in scan.Champs) are decoded, the others' bytes are skipped.
    TVecteurCompresseE57(TPagesE57& pages, const TScanE57& scan, std::vector<std::size_t> utiles);

    // Decodes the next records, at most `max`; 0 once all have been. Throws when the packets end
    // before the records do or are malformed.
    std::size_t Suivants(std::size_t max);
    // The values of the k-th useful field for the records of the last call.
    const double* Colonne(std::size_t k) const { return colonnes_[k].data(); }
    // The section's logical extent, its header included: [debut, fin).
    std::uint64_t DebutSection() const { return debut_; }
    std::uint64_t FinSection() const { return finSection_; }

private:
    struct TFlux {
        const TChampE57* Champ = nullptr;
        // Bytes received and not yet decoded, followed by zero bytes so that a value can be read
        // eight bytes at a time.
        std::vector<std::uint8_t> Octets;
        std::size_t Valides = 0;
        std::uint64_t BitLu = 0;
        std::uint64_t ValeursDisponibles() const;
        void Ajouter(const std::uint8_t* o, std::size_t n);
        void Decoder(double* sortie, std::size_t n);
    };
    void LirePaquet();

    TPagesE57& pages_;
    const TScanE57& scan_;
    std::vector<TFlux> flux_;
    std::vector<std::vector<double>> colonnes_;
    std::uint64_t restants_ = 0;
    std::uint64_t debut_ = 0, position_ = 0, finSection_ = 0; // logical
    std::vector<std::uint8_t> paquet_;
};
