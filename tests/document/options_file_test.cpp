#include "document/options_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "document/keyword_file.h"
#include "document/keyword_stream.h"
#include "support/test_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace fs = std::filesystem;

namespace {

bool operator==(const OptionsReconnaissance& a, const OptionsReconnaissance& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class OptionsFichier : public DossierTest {
  protected:
    std::string Standard() const { return FichierPreferences(kFichierOptionsStandard); }
    static void Ecrit(const std::string& chemin, const std::string& texte) {
        RuzoHomeEssai::EcritFichier(chemin, texte);
    }
    static std::string Contenu(const std::string& chemin) {
        return RuzoHomeEssai::LitFichier(chemin);
    }
    OptionsReconnaissance Lit(const std::string& texte) {
        Ecrit(Standard(), texte);
        OptionsReconnaissance options;
        options.ModeArmature = 99;  // loading starts from the defaults
        ChargeOptionsStandard(options);
        return options;
    }
};

}  // namespace

TEST_F(OptionsFichier, StandardFileHoldsExactlyOneBlockAndReadsBack) {
    ASSERT_TRUE(SauveOptionsStandard(OptionsReconnaissance{}));
    EXPECT_EQ(Contenu(Standard()),
              "\nDebutConfig \n\t ModeArmature 1 \n\t RechercherClef 2 \n\t NotationAbregee 1 "
              "\n\t TigeObligatoire 1 \n\t AutoriserAppogiatures 1 \n\t AutoriserTuplets 1 "
              "\n\t AutoriserCorpsInverse 0 \n\t AutoriserEffets 1 \n\t AutoriserLiaisons 1 "
              "\n\t AutoriserRondes 1 \n\t AutoriserRuptures 1 \n\t calculerTailleTige 0 "
              "\n\t PourcentGraceNote 4 \nFinConfig ");

    OptionsReconnaissance options;
    options.ModeArmature = 0;
    options.RechercherClef = 1;
    options.AutoriserRondes = 0;
    options.AutoriserEffets = 0;
    options.calculerTailleTige = 1;
    options.PourcentGraceNote = -3;
    ASSERT_TRUE(SauveOptionsStandard(options));
    OptionsReconnaissance relues;
    ChargeOptionsStandard(relues);
    EXPECT_TRUE(relues == options);
}

TEST_F(OptionsFichier, LooseFilesReadAsFarAsTheyGo) {
    // One keyword, no block keywords: that field, defaults elsewhere.
    OptionsReconnaissance attendu;
    attendu.ModeArmature = 0;
    EXPECT_TRUE(Lit("ModeArmature 0") == attendu);

    // Unknown keywords with several values are skipped, line by line; the
    // end of file before "FinConfig" keeps what was read.
    const OptionsReconnaissance options =
        Lit("\nDebutConfig \n\t Futur 1 2 3 \n\t AutoriserRondes 0 \n\t Inconnu \"a b\" "
            "\n\t PourcentGraceNote 12 ");
    EXPECT_EQ(options.AutoriserRondes, 0);  // a stored value wins over the default
    EXPECT_EQ(options.PourcentGraceNote, 12);
    EXPECT_EQ(options.ModeArmature, 1);

    // Values are truncated to the field's width; non-numbers read as 0.
    const OptionsReconnaissance tronquees =
        Lit("AutoriserRondes 256 \nModeArmature -1 \nTigeObligatoire x \nPourcentGraceNote 65539 ");
    EXPECT_EQ(tronquees.AutoriserRondes, 0);
    EXPECT_EQ(tronquees.ModeArmature, 255);
    EXPECT_EQ(tronquees.TigeObligatoire, 0);
    EXPECT_EQ(tronquees.PourcentGraceNote, 3);

    // Missing file: the defaults, and no message.
    fs::remove(Standard());
    CaptureAlertes alertes;
    OptionsReconnaissance options2;
    options2.AutoriserRondes = 0;
    ChargeOptionsStandard(options2);
    EXPECT_TRUE(options2 == OptionsReconnaissance{});
    EXPECT_TRUE(alertes.Textes().empty());
}

TEST_F(OptionsFichier, BlockIsReadInsideAnotherFileAtItsPlace) {
    const std::string liste = Racine() + "/liste.lfs";
    Ecrit(liste,
          "\nDebutDocument \n\t NbPages 2 \n\t DebutConfig \n\t \t ModeArmature 2 "
          "\n\t \t AutoriserTuplets 0 \n\t FinConfig \n\t DebutPage ");
    OptionsReconnaissance options;
    EXPECT_TRUE(LitOptionsListePages(liste, options));
    EXPECT_EQ(options.ModeArmature, 2);
    EXPECT_EQ(options.AutoriserTuplets, 0);

    Ecrit(liste, "\nDebutDocument \n\t ModeArmature 0 \nFinDocument ");
    OptionsReconnaissance inchangees;
    EXPECT_FALSE(LitOptionsListePages(liste, inchangees));
    EXPECT_TRUE(inchangees == OptionsReconnaissance{});
    EXPECT_FALSE(LitOptionsListePages(Racine() + "/absente.lfs", inchangees));
}

TEST_F(OptionsFichier, FailedSaveLeavesThePreviousFileWhole) {
    OptionsReconnaissance options;
    options.ModeArmature = 0;
    ASSERT_TRUE(SauveOptionsStandard(options));
    const std::string avant = Contenu(Standard());

    // A writer that fails half way.
    CaptureAlertes alertes;
    EXPECT_FALSE(EcritFichierMotsCles(Standard(), [] {
        EcritDebut("DebutConfig");
        return false;
    }));
    EXPECT_EQ(Contenu(Standard()), avant);
    EXPECT_EQ(alertes.Textes().size(), 1u);

    // The temporary file cannot be made.
    const fs::path temporaire = Standard() + ".tmp-" + std::to_string(getpid());
    fs::create_directories(temporaire / "occupe");
    EXPECT_FALSE(SauveOptionsStandard(OptionsReconnaissance{}));
    EXPECT_EQ(Contenu(Standard()), avant);
    EXPECT_EQ(alertes.Textes().size(), 2u);
    EXPECT_NE(alertes.Textes().back().find(kFichierOptionsStandard), std::string::npos);
    fs::remove_all(temporaire);

    // Nothing is left behind by a good save.
    ASSERT_TRUE(SauveOptionsStandard(OptionsReconnaissance{}));
    int fichiers = 0;
    for (const auto& entree : fs::directory_iterator(DossierPreferences()))
        fichiers += entree.is_regular_file();
    EXPECT_EQ(fichiers, 1);
}
