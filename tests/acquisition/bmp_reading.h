// Reads back the BMP files the acquisition writes, field by field, so that
// tests check the bytes rather than what a loader makes of them.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct BMPLu {
    std::vector<uint8_t> octets;

    explicit BMPLu(const std::string& chemin) {
        std::ifstream f(chemin, std::ios::binary);
        octets.assign(std::istreambuf_iterator<char>(f), {});
    }
    uint32_t Mot(size_t position) const {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | octets.at(position + static_cast<size_t>(i));
        return v;
    }
    uint16_t Demi(size_t position) const {
        return static_cast<uint16_t>(octets.at(position) | (octets.at(position + 1) << 8));
    }
    bool Signature() const { return octets.size() > 2 && octets[0] == 'B' && octets[1] == 'M'; }
    uint32_t TailleFichier() const { return Mot(2); }
    uint32_t DebutPixels() const { return Mot(10); }
    int Largeur() const { return static_cast<int>(Mot(18)); }
    int Hauteur() const { return static_cast<int>(Mot(22)); }
    int Bits() const { return Demi(28); }
    uint32_t Couleur(int i) const { return Mot(54 + 4 * static_cast<size_t>(i)); }
    size_t Pas() const { return ((static_cast<size_t>(Bits()) * Largeur() + 31) / 32) * 4; }
    // The stored value of pixel (x, y), y from the top (rows are stored bottom-up).
    int Pixel(int x, int y) const {
        const size_t rangee = DebutPixels() + (static_cast<size_t>(Hauteur() - 1 - y)) * Pas();
        if (Bits() == 8) return octets.at(rangee + static_cast<size_t>(x));
        return (octets.at(rangee + static_cast<size_t>(x / 8)) >> (7 - x % 8)) & 1;
    }
};
