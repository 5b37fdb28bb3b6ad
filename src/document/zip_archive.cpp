// Local header, data, and a central directory entry per file, then the end
// record; no data descriptors, no zip64 (a score is far below 4 GB). Deflated
// data is raw deflate (no zlib header), as the zip format stores it; an entry
// that deflate would not shrink is stored instead.
#include "document/zip_archive.h"

#include <zlib.h>

#include <cstdint>

namespace {

constexpr uint16_t kStockee = 0;
constexpr uint16_t kDeflatee = 8;

// Fixed date of the entries (1 January 2020): the archive's bytes then
// depend on its content only.
constexpr uint16_t kDateDos = ((2020 - 1980) << 9) | (1 << 5) | 1;
constexpr uint16_t kHeureDos = 0;

void Ajoute16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Ajoute32(std::string& s, uint32_t v) {
    Ajoute16(s, v & 0xFFFF);
    Ajoute16(s, v >> 16);
}

// Raw deflate of `octets`; empty when zlib fails.
std::string Deflate(const std::string& octets) {
    z_stream flux{};
    if (deflateInit2(&flux, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return {};
    std::string sortie(deflateBound(&flux, static_cast<uLong>(octets.size())), '\0');
    flux.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(octets.data()));
    flux.avail_in = static_cast<uInt>(octets.size());
    flux.next_out = reinterpret_cast<Bytef*>(sortie.data());
    flux.avail_out = static_cast<uInt>(sortie.size());
    const int code = deflate(&flux, Z_FINISH);
    sortie.resize(flux.total_out);
    deflateEnd(&flux);
    return code == Z_STREAM_END ? sortie : std::string();
}

struct Donnees {
    uint16_t Methode = kStockee;
    std::string Octets;
};

Donnees Prepare(const EntreeZip& e) {
    if (e.Compressee) {
        std::string compresse = Deflate(e.Contenu);
        if (!compresse.empty() && compresse.size() < e.Contenu.size())
            return {kDeflatee, std::move(compresse)};
    }
    return {kStockee, e.Contenu};
}

// The fields local and central headers share, from "version needed" on.
void AjouteChampsCommuns(std::string& s, uint16_t methode, uint32_t crc, uint32_t taille,
                         uint32_t tailleOrigine, size_t longueurNom) {
    Ajoute16(s, 20);  // version needed: 2.0
    Ajoute16(s, 0);   // flags
    Ajoute16(s, methode);
    Ajoute16(s, kHeureDos);
    Ajoute16(s, kDateDos);
    Ajoute32(s, crc);
    Ajoute32(s, taille);
    Ajoute32(s, tailleOrigine);
    Ajoute16(s, static_cast<uint32_t>(longueurNom));
    Ajoute16(s, 0);  // extra field length
}

}  // namespace

uint32_t Crc32(const std::string& octets) {
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(octets.data()), static_cast<uInt>(octets.size())));
}

std::string ArchiveZip(const std::vector<EntreeZip>& entrees) {
    std::string archive, central;
    for (const EntreeZip& e : entrees) {
        const Donnees d = Prepare(e);
        const uint32_t crc = Crc32(e.Contenu);
        const uint32_t taille = static_cast<uint32_t>(d.Octets.size());
        const uint32_t origine = static_cast<uint32_t>(e.Contenu.size());
        const uint32_t decalage = static_cast<uint32_t>(archive.size());
        Ajoute32(archive, 0x04034b50);
        AjouteChampsCommuns(archive, d.Methode, crc, taille, origine, e.Nom.size());
        archive += e.Nom;
        archive += d.Octets;

        Ajoute32(central, 0x02014b50);
        Ajoute16(central, 20);  // made by: 2.0
        AjouteChampsCommuns(central, d.Methode, crc, taille, origine, e.Nom.size());
        Ajoute16(central, 0);  // comment length
        Ajoute16(central, 0);  // disk number
        Ajoute16(central, 0);  // internal attributes
        Ajoute32(central, 0);  // external attributes
        Ajoute32(central, decalage);
        central += e.Nom;
    }
    const uint32_t debutCentral = static_cast<uint32_t>(archive.size());
    archive += central;
    Ajoute32(archive, 0x06054b50);
    Ajoute16(archive, 0);
    Ajoute16(archive, 0);
    Ajoute16(archive, static_cast<uint32_t>(entrees.size()));
    Ajoute16(archive, static_cast<uint32_t>(entrees.size()));
    Ajoute32(archive, static_cast<uint32_t>(central.size()));
    Ajoute32(archive, debutCentral);
    Ajoute16(archive, 0);
    return archive;
}
