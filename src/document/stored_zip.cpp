#include "document/stored_zip.h"

#include <array>
#include <cstdint>

namespace {

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

// The fields local and central headers share, from "version needed" on.
void AjouteChampsCommuns(std::string& s, uint32_t crc, uint32_t taille, size_t longueurNom) {
    Ajoute16(s, 20);  // version needed: 2.0
    Ajoute16(s, 0);   // flags
    Ajoute16(s, 0);   // method: stored
    Ajoute16(s, kHeureDos);
    Ajoute16(s, kDateDos);
    Ajoute32(s, crc);
    Ajoute32(s, taille);
    Ajoute32(s, taille);
    Ajoute16(s, static_cast<uint32_t>(longueurNom));
    Ajoute16(s, 0);  // extra field length
}

}  // namespace

uint32_t Crc32(const std::string& octets) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char o : octets) crc = table[(crc ^ o) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string ArchiveNonCompressee(const std::vector<std::pair<std::string, std::string>>& entrees) {
    std::string archive, central;
    for (const auto& [nom, contenu] : entrees) {
        const uint32_t crc = Crc32(contenu);
        const uint32_t taille = static_cast<uint32_t>(contenu.size());
        const uint32_t decalage = static_cast<uint32_t>(archive.size());
        Ajoute32(archive, 0x04034b50);
        AjouteChampsCommuns(archive, crc, taille, nom.size());
        archive += nom;
        archive += contenu;

        Ajoute32(central, 0x02014b50);
        Ajoute16(central, 20);  // made by: 2.0
        AjouteChampsCommuns(central, crc, taille, nom.size());
        Ajoute16(central, 0);  // comment length
        Ajoute16(central, 0);  // disk number
        Ajoute16(central, 0);  // internal attributes
        Ajoute32(central, 0);  // external attributes
        Ajoute32(central, decalage);
        central += nom;
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
