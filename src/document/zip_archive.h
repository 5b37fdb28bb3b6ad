// A zip archive as the MusicXML container wants it: entries in the order
// given, each deflated or stored as asked (the "mimetype" entry must be
// stored and first, so that a reader can recognise the file by its start).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EntreeZip {
    std::string Nom;
    std::string Contenu;
    bool Compressee = true;  // deflated; false: stored as it is
};

// The archive's bytes.
std::string ArchiveZip(const std::vector<EntreeZip>& entrees);

// The CRC-32 the zip format checks its entries with.
uint32_t Crc32(const std::string& octets);
