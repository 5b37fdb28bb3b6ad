// A zip archive whose entries are stored uncompressed: enough for the
// MusicXML container, which readers open with any zip library.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Entries in order: name, then content. Returns the archive's bytes.
std::string ArchiveNonCompressee(const std::vector<std::pair<std::string, std::string>>& entrees);

// The CRC-32 the zip format checks its entries with.
uint32_t Crc32(const std::string& octets);
