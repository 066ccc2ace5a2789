#pragma once
// The physical layer of an E57 file: its 48-byte header, then pages whose last four bytes are the
// CRC-32C of the others. What the file's offsets point at is a "logical" byte stream made of the
// pages without their checksums; this class reads that stream, checking each page it loads.

#include "util/Erreurs.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

static_assert(std::endian::native == std::endian::little, "the E57 file is little-endian");

// A fault of the file, described without the file's name: the reader adds it.
class EDefautE57 : public EErreur {
public:
    using EErreur::EErreur;
};

struct TEnTeteE57 {
    std::uint32_t VersionMajeure = 0;
    std::uint32_t VersionMineure = 0;
    std::uint64_t LongueurPhysique = 0;
    std::uint64_t OffsetXml = 0;   // physical
    std::uint64_t LongueurXml = 0; // logical
    std::uint64_t TaillePage = 0;
};

class TPagesE57 {
public:
    // Opens the file and checks its header and the page that holds it.
    explicit TPagesE57(const std::string& chemin);

    const TEnTeteE57& EnTete() const { return entete_; }
    std::uint64_t LongueurLogique() const { return nbPages_ * Utiles(); }
    // The logical offset of a physical one; refuses an offset past the end or inside a checksum.
    std::uint64_t VersLogique(std::uint64_t physique, const std::string& quoi) const;
    std::uint64_t VersPhysique(std::uint64_t logique) const;
    // `n` bytes of the logical stream from `logique`; refuses a range past the end.
    void Lire(std::uint64_t logique, void* destination, std::size_t n);
    // The XML section, once its extent is checked against the file.
    std::string LireXml();

private:
    std::uint64_t Utiles() const { return entete_.TaillePage - 4; }
    void ChargerBloc(std::uint64_t page);

    struct TFermer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, TFermer> f_;
    TEnTeteE57 entete_;
    std::uint64_t nbPages_ = 0;
    // Consecutive pages read at once, checked as they are loaded.
    std::vector<std::uint8_t> bloc_;
    std::uint64_t pagesParBloc_ = 1, premierePage_ = 0, pagesDuBloc_ = 0;
};
