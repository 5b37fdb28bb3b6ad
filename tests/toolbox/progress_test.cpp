#include "toolbox/progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "toolbox/progress_console.h"

namespace {

TEST(TempsRestant, PageCountTimesMeanTicksPerTimedPage) {
    EXPECT_EQ(TempsRestant(3, 0, 0), "1:00");           // 1200 ticks a page when none is timed
    EXPECT_EQ(TempsRestant(2, 600 + 1200, 2), "0:30");  // 900 ticks a page
    EXPECT_EQ(TempsRestant(10, 3660, 1), "10:10");
    EXPECT_EQ(TempsRestant(0, 500, 1), "0:00");
}

TEST(ProgressionConsole, PlainLinesWhenNotATerminalAndNothingWhenQuiet) {
    std::FILE* sortie = std::tmpfile();
    {
        ProgressionConsole p(false, sortie);
        p.Ouvre(2, "doc");
        p.Etape(2);
        p.Pourcentage(50);
        p.Avertissement("careful");
        p.Ferme();
    }
    std::rewind(sortie);
    char tampon[512] = {};
    const size_t n = std::fread(tampon, 1, sizeof tampon - 1, sortie);
    const std::string texte(tampon, n);
    EXPECT_NE(texte.find("doc\n"), std::string::npos);
    EXPECT_NE(texte.find("Finding the staves\n"), std::string::npos);
    EXPECT_NE(texte.find("warning: careful\n"), std::string::npos);
    EXPECT_EQ(texte.find('\r'), std::string::npos);
    std::fclose(sortie);

    std::FILE* muette = std::tmpfile();
    {
        ProgressionConsole p(true, muette);
        p.Ouvre(1, "doc");
        p.Etape(1);
        p.Avertissement("careful");
    }
    EXPECT_EQ(std::ftell(muette), 0);
    std::fclose(muette);
}

}  // namespace
