// A page image as the gray PGM file the sample acquire plug-in delivers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "toolbox/png_io.h"

struct PageGrise {
    int largeur = 0, hauteur = 0;
    std::vector<uint8_t> gris;
};

inline PageGrise EcritPGM(const std::string& png, const std::string& pgm) {
    ImageRVB image;
    std::string erreur;
    EXPECT_TRUE(LitPNG(png, image, erreur)) << erreur;
    PageGrise page{image.largeur, image.hauteur, {}};
    page.gris.reserve(image.rvb.size() / 3);
    for (size_t i = 0; i + 2 < image.rvb.size(); i += 3)
        page.gris.push_back(
            static_cast<uint8_t>((image.rvb[i] + image.rvb[i + 1] + image.rvb[i + 2]) / 3));
    std::ofstream f(pgm, std::ios::binary);
    f << "P5\n" << page.largeur << " " << page.hauteur << "\n255\n";
    f.write(reinterpret_cast<const char*>(page.gris.data()),
            static_cast<std::streamsize>(page.gris.size()));
    return page;
}
