#include "image_test_support.h"

#include <gtest/gtest.h>

#include "toolbox/messages.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

Offscreen BitmapDepuisTexte(const std::vector<std::string>& lignes) {
    Offscreen o = CreeOffscreen(static_cast<int>(lignes[0].size()), static_cast<int>(lignes.size()));
    const VuePixels base = VueOffscreen(o);
    for (size_t y = 0; y < lignes.size(); ++y) {
        for (size_t x = 0; x < lignes[y].size(); ++x) {
            const char c = lignes[y][x];
            const uint8_t index = c == '#'   ? IndexNoir
                                  : c == 'y' ? IndexJauneClair
                                  : c == 'r' ? IndexRouge
                                             : IndexBlanc;
            EcritPixel(base, static_cast<int>(x), static_cast<int>(y), index);
        }
    }
    return o;
}

std::vector<std::string> TexteDepuisBitmap(Offscreen o) {
    std::vector<std::string> lignes;
    const VuePixels base = VueOffscreen(o);
    for (int y = 0; y < o->hauteur; ++y) {
        std::string ligne;
        for (int x = 0; x < o->largeur; ++x) {
            const uint8_t i = LitPixel(base, x, y);
            ligne += i == IndexNoir ? '#' : i == IndexJauneClair ? 'y' : i == IndexRouge ? 'r'
                                        : i == IndexBlanc        ? '.'
                                                                 : '?';
        }
        lignes.push_back(ligne);
    }
    return lignes;
}

DossierEssai::DossierEssai() {
    std::string modele = (std::filesystem::temp_directory_path() / "ruzo-essai-XXXXXX").string();
    if (!mkdtemp(modele.data())) throw std::runtime_error("mkdtemp");
    chemin_ = modele;
}

DossierEssai::~DossierEssai() {
    std::error_code erreur;
    std::filesystem::remove_all(chemin_, erreur);
}

void DossierEssai::Ecrit(const std::string& nom, const std::vector<unsigned char>& octets) const {
    std::FILE* f = std::fopen(Fichier(nom).c_str(), "wb");
    if (!f) throw std::runtime_error("can't write " + nom);
    std::fwrite(octets.data(), 1, octets.size(), f);
    std::fclose(f);
}

void AttendRefus(const DossierEssai& dossier, const std::string& nom,
                 const std::vector<unsigned char>& octets,
                 const std::function<Offscreen(const std::string&)>& charge,
                 const std::string& texte) {
    CaptureAlertes alertes;
    dossier.Ecrit(nom, octets);
    Offscreen o = charge(dossier.Fichier(nom));
    EXPECT_EQ(o, nullptr);
    if (o) DisposeOffscreen(o);
    bool trouve = false;
    for (const auto& a : alertes.Textes()) trouve = trouve || a.find(texte) != std::string::npos;
    EXPECT_TRUE(trouve) << "no alert with '" << texte << "'";
}
