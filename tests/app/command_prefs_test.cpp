#include <gtest/gtest.h>

#include "app/cli.h"
#include "document/preferences.h"
#include "support/run_program.h"
#include "support/ruzo_home.h"
#include "toolbox/folders.h"

namespace {

TEST(CommandePrefs, ShowSetAndReset) {
    RuzoHomeEssai home;
    const ResultatProgramme liste = ExecuteRuzo("prefs");
    EXPECT_EQ(liste.code, kSucces);
    EXPECT_NE(liste.sortie.find("ChargeAuto"), std::string::npos);
    EXPECT_NE(liste.sortie.find("NomPlugIn"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(
        FichierPreferences(kFichierPreferences)));  // showing writes nothing

    EXPECT_EQ(ExecuteRuzo("prefs set ChargeAuto 2").code, kSucces);
    EXPECT_EQ(ExecuteRuzo("prefs set NomPlugIn 'My Scanner'").code, kSucces);
    const ResultatProgramme apres = ExecuteRuzo("prefs");
    EXPECT_NE(apres.sortie.find("\"My Scanner\""), std::string::npos) << apres.sortie;
    const ResultatProgramme json = ExecuteRuzo("prefs --json");
    EXPECT_NE(json.sortie.find("\"ChargeAuto\": 2, "), std::string::npos) << json.sortie;
    EXPECT_NE(json.sortie.find("\"NomPlugIn\": \"My Scanner\""), std::string::npos);

    EXPECT_EQ(ExecuteRuzo("prefs reset").code, kSucces);
    Preferences p;
    ChargePreferences(p);
    EXPECT_EQ(p.ChargeAuto, 1);
    EXPECT_STREQ(p.NomPlugIn, "");
}

TEST(CommandePrefs, RefusedValuesChangeNothing) {
    RuzoHomeEssai home;
    ASSERT_EQ(ExecuteRuzo("prefs set CouleurAires 7").code, kSucces);
    const std::string avant = RuzoHomeEssai::LitFichier(FichierPreferences(kFichierPreferences));
    const ResultatProgramme horsLimites = ExecuteRuzo("prefs set CouleurAires 256");
    EXPECT_EQ(horsLimites.code, kErreurUsage);
    EXPECT_NE(horsLimites.sortie.find("0 to 255"), std::string::npos) << horsLimites.sortie;
    EXPECT_EQ(ExecuteRuzo("prefs set NomPlugIn " + std::string(300, 'x')).code, kErreurUsage);
    EXPECT_EQ(ExecuteRuzo("prefs set NoSuchPreference 1").code, kErreurUsage);
    EXPECT_EQ(ExecuteRuzo("prefs set ChargeAuto").code, kErreurUsage);
    EXPECT_EQ(RuzoHomeEssai::LitFichier(FichierPreferences(kFichierPreferences)), avant);
}

TEST(CommandePrefs, ChangesMadeAtOnceAreAllKept) {
    RuzoHomeEssai home;
    const std::vector<std::vector<std::string>> runs = {
        {"prefs", "set", "AutoriseSons", "0"},   {"prefs", "set", "ZoomWindows", "0"},
        {"prefs", "set", "SplashScreen", "0"},   {"prefs", "set", "TwainDebug", "1"},
        {"prefs", "set", "CouleurAires", "3"},   {"prefs", "set", "ChargeAuto", "0"},
        {"options", "set", "ModeArmature", "0"}, {"options", "set", "AutoriserRondes", "0"},
    };
    const std::vector<int> codes = ExecuteRuzoEnParallele(runs);
    EXPECT_EQ(codes, std::vector<int>(runs.size(), kSucces));
    Preferences p;
    ChargePreferences(p);
    EXPECT_EQ(p.AutoriseSons, 0);
    EXPECT_EQ(p.ZoomWindows, 0);
    EXPECT_EQ(p.SplashScreen, 0);
    EXPECT_EQ(p.TwainDebug, 1);
    EXPECT_EQ(p.CouleurAires, 3);
    EXPECT_EQ(p.ChargeAuto, 0);
    const std::string options = RuzoHomeEssai::LitFichier(FichierPreferences("RuzoStd.cfg"));
    EXPECT_NE(options.find("ModeArmature 0 "), std::string::npos) << options;
    EXPECT_NE(options.find("AutoriserRondes 0 "), std::string::npos) << options;
    // No temporary or lock files left behind.
    EXPECT_EQ(home.Contenu(), (std::set<std::string>{
                                  "Talvek", "Talvek/VostPref", "Talvek/VostPref/Temporary",
                                  "Talvek/VostPref/RuzoPref.cfg", "Talvek/VostPref/RuzoStd.cfg"}));
}

}  // namespace
