#include "shell/language_file.h"

#include <gtest/gtest.h>

#include "support/ruzo_home.h"
#include "toolbox/folders.h"
#include "toolbox/messages.h"

namespace {

std::string Octets(std::initializer_list<int> valeurs) {
    std::string s;
    for (int v : valeurs) s.push_back(static_cast<char>(v));
    return s;
}

class LangueEssai : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(PrepareDossiersPreferences()); }
    void TearDown() override { DefinitLangue(1); }
    RuzoHomeEssai home_;
};

TEST_F(LangueEssai, FileContents) {
    struct Cas {
        std::string octets;
        int langue;
    };
    const Cas cas[] = {
        {Octets({1, 2, 0, 2}), 2},        // marker 258, French
        {Octets({2, 1, 0, 2}), 1},        // marker with its bytes swapped
        {Octets({1, 3, 0, 2}), 1},        // wrong marker
        {Octets({1, 2, 0, 9}), 1},        // a language we have no texts for
        {Octets({1, 2, 0xFF, 0xFE}), 1},  // negative language
        {Octets({1, 2, 0}), 1},           // cut short
        {"", 1},
    };
    DefinitLangue(2);
    ChargeLangue();  // no file at all
    EXPECT_EQ(LangueCourante(), 1);
    for (const auto& c : cas) {
        RuzoHomeEssai::EcritFichier(FichierPreferences("RuzoLangue.cfg"), c.octets);
        DefinitLangue(2);
        ChargeLangue();
        EXPECT_EQ(LangueCourante(), c.langue) << c.octets.size();
    }
}

TEST_F(LangueEssai, OlderFileIsReadOnlyWhenTheNewOneIsMissing) {
    RuzoHomeEssai::EcritFichier(FichierPreferences("Langue.cfg"), Octets({1, 2, 0, 2}));
    ChargeLangue();
    EXPECT_EQ(LangueCourante(), 2);
    RuzoHomeEssai::EcritFichier(FichierPreferences("RuzoLangue.cfg"), Octets({1, 3, 0, 2}));
    ChargeLangue();
    EXPECT_EQ(LangueCourante(), 1);
}

}  // namespace
