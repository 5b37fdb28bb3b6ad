#include "document/keyword_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/result_file_support.h"

namespace {

// Makes `texte` the current file while `lit` runs.
template <typename Lecture>
void Lit(const std::string& texte, Lecture lit) {
    std::FILE* f = std::tmpfile();
    std::fwrite(texte.data(), 1, texte.size(), f);
    std::rewind(f);
    {
        FichierCourantTemporaire courant(f);
        lit();
    }
    std::fclose(f);
}

std::vector<std::string> MotsLus(const std::string& texte) {
    std::vector<std::string> tokens;
    Lit(texte, [&] {
        char mot[kLongueurMaxMot + 1];
        while (LitMot(mot, kLongueurMaxMot)) tokens.push_back(mot);
    });
    return tokens;
}

}  // namespace

TEST(FluxMotsCles, ValueFormats) {
    const std::string texte = EcritEnMemoire([] {
        EcritFin("FinAuDessus");  // at depth 0 stays at depth 0
        EcritDebutNum("DebutPortee", -3);
        EcritReel("Reel", 0.7f);
        EcritReel("Negatif", -2.5f);
        EcritLong("Long", -2000000000);
        EcritRect("Rect", Rect{10, 20, 30, 40});
        EcritChaine("Nom", "a b");
        EcritMot("Mot", "abc");
        EcritMot("Vide", "");
        EcritEntier("Liste", 2);
        EcritNombre(-5);
        EcritTexte("x");
        EcritTexte("");
        EcritFinNum("FinPortee", 7);
    });
    EXPECT_EQ(texte,
              "\nFinAuDessus \nDebutPortee -3 \n\t Reel 0.700 \n\t Negatif -2.500 "
              "\n\t Long -2000000000 \n\t Rect 20 10 40 30 \n\t Nom \"a b\" \n\t Mot abc "
              "\n\t Vide \n\t Liste 2 -5 x \nFinPortee 7 ");
}

TEST(FluxMotsCles, MakingAFileCurrentResetsTheDepthAndGivesThePreviousBack) {
    std::string interieur;
    const std::string exterieur = EcritEnMemoire([&] {
        EcritDebut("DebutDocument");
        std::FILE* courant = ChoisitFichierCourant(nullptr);
        ChoisitFichierCourant(courant);  // depth back to 0
        interieur = EcritEnMemoire([] { EcritDebut("DebutConfig"); });
        EXPECT_EQ(ChoisitFichierCourant(courant), courant);
        EcritEntier("Apres", 1);
    });
    EXPECT_EQ(interieur, "\nDebutConfig ");
    EXPECT_EQ(exterieur, "\nDebutDocument \nApres 1 ");
}

TEST(FluxMotsCles, WritersReportMissingFileAndWriteErrors) {
    std::FILE* precedent = ChoisitFichierCourant(nullptr);
    EXPECT_FALSE(EcritEntier("ModeArmature", 1));
    std::FILE* plein = std::fopen("/dev/full", "wb");
    ASSERT_NE(plein, nullptr);
    std::setvbuf(plein, nullptr, _IONBF, 0);
    ChoisitFichierCourant(plein);
    EXPECT_FALSE(EcritDebut("DebutConfig"));
    ChoisitFichierCourant(precedent);
    std::fclose(plein);
}

TEST(FluxMotsCles, TokenRule) {
    EXPECT_EQ(MotsLus("ModeArmature-1"), (std::vector<std::string>{"ModeArmature", "1"}));
    EXPECT_EQ(MotsLus(" \t\r\n-1.5e3,x!y"), (std::vector<std::string>{"-1.5e3", "x", "y"}));
    // Bytes above 127 belong to tokens; control bytes separate them.
    EXPECT_EQ(MotsLus("\xC3\xA9t\xC3\xA9\x01z"),
              (std::vector<std::string>{"\xC3\xA9t\xC3\xA9", "z"}));
    EXPECT_TRUE(MotsLus(" \n\t ").empty());
}

TEST(FluxMotsCles, LongTokensAreCutAndTheirRestConsumed) {
    const std::string longMot(300, 'a');
    const auto tokens = MotsLus(longMot + " suite");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0], std::string(kLongueurMaxMot, 'a'));
    EXPECT_EQ(tokens[1], "suite");

    Lit("abcdef", [] {
        char petit[4];
        EXPECT_TRUE(LitMot(petit, 3));
        EXPECT_STREQ(petit, "abc");
        EXPECT_FALSE(LitMot(petit, 3));
        EXPECT_STREQ(petit, "");
    });
}

TEST(FluxMotsCles, NumberReaders) {
    Lit("abc 12abc 70000 nan inf 1e50 .5 99999999999", [] {
        EXPECT_EQ(LitEntier(), 0);                            // not a number
        EXPECT_EQ(LitEntier(), 12);                           // the number at its start
        EXPECT_EQ(LitEntier(), static_cast<int16_t>(70000));  // wraps like "%hd"
        EXPECT_EQ(LitReel(), 0.0f);
        EXPECT_EQ(LitReel(), 0.0f);
        EXPECT_EQ(LitReel(), 0.0f);  // out of float range
        EXPECT_EQ(LitReel(), 0.5f);
        EXPECT_EQ(LitLong(), static_cast<int32_t>(99999999999LL));
        EXPECT_EQ(LitEntier(), 0);  // end of file
        EXPECT_EQ(LitReel(), 0.0f);
        EXPECT_FALSE(LitBooleen());
    });
}

TEST(FluxMotsCles, QuotedText) {
    Lit("Nom  \"a b\tc\" Suite \"" + std::string(300, 'x') + "\" \"sans fin", [] {
        char texte[256];
        char mot[kLongueurMaxMot + 1];
        LitMot(mot, kLongueurMaxMot);
        EXPECT_TRUE(LitChaine(texte, 255));
        EXPECT_STREQ(texte, "a b\tc");
        EXPECT_TRUE(LitMot(mot, kLongueurMaxMot));
        EXPECT_STREQ(mot, "Suite");
        EXPECT_TRUE(LitChaine(texte, 255));
        EXPECT_EQ(std::string(texte), std::string(255, 'x'));
        EXPECT_FALSE(LitChaine(texte, 255));
        EXPECT_STREQ(texte, "sans fin");
        EXPECT_FALSE(LitChaine(texte, 255));
        EXPECT_STREQ(texte, "");
    });
}

TEST(FluxMotsCles, BlockReading) {
    // An unknown keyword with three values is skipped whole.
    Lit("\nDebutConfig \n\t Inconnu 1 2 3 \n\t ModeArmature 0 \nFinConfig \nApres 9 ", [] {
        std::vector<std::string> vus;
        int16_t mode = -1;
        EXPECT_TRUE(LitBloc("FinConfig", [&](const char* mot) {
            vus.push_back(mot);
            if (std::string(mot) == "ModeArmature")
                mode = LitEntier();
            else
                SauteLigne();
            return true;
        }));
        EXPECT_EQ(vus, (std::vector<std::string>{"DebutConfig", "Inconnu", "ModeArmature"}));
        EXPECT_EQ(mode, 0);
        char mot[kLongueurMaxMot + 1];
        LitMot(mot, kLongueurMaxMot);
        EXPECT_STREQ(mot, "Apres");
    });
    // Without the end keyword the handler sees every token, then false.
    Lit("a b c", [] {
        int vus = 0;
        EXPECT_FALSE(LitBloc("FinConfig", [&](const char*) { return ++vus > 0; }));
        EXPECT_EQ(vus, 3);
    });
    // The handler stops the block; the pass-through value reaches it.
    Lit("x y FinBloc", [] {
        int32_t recu = 0;
        EXPECT_FALSE(LitBloc(
            "FinBloc",
            [&](const char*, int32_t valeur) {
                recu = valeur;
                return false;
            },
            123456));
        EXPECT_EQ(recu, 123456);
    });
    // The end keyword matches exactly, case included.
    Lit("finconfig FinConfigs FinConfig", [] {
        int vus = 0;
        EXPECT_TRUE(LitBloc("FinConfig", [&](const char*) { return ++vus > 0; }));
        EXPECT_EQ(vus, 2);
    });
}

TEST(FluxMotsCles, DeepNestingIsRefusedNotOverflowed) {
    std::string texte;
    for (int i = 0; i < 10000; ++i) texte += "DebutX ";
    Lit(texte, [] {
        int plusProfond = 0;
        int profondeur = 0;
        std::function<bool(const char*)> gestionnaire = [&](const char* mot) {
            if (std::string(mot) != "DebutX") return true;
            ++profondeur;
            plusProfond = std::max(plusProfond, profondeur);
            const bool ok = LitBloc("FinX", gestionnaire);
            --profondeur;
            return ok;
        };
        EXPECT_FALSE(LitBloc("FinX", gestionnaire));
        EXPECT_EQ(plusProfond, kProfondeurMaxBlocs);
    });
}
