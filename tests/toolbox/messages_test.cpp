// The French catalogue against the sources: every text the code passes to
// Alerte or TexteLangue has its French text, and the two take the same printf
// conversions, so that a French run neither shows English nor reads the
// wrong argument.
#include "toolbox/messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "test_paths.h"

namespace {

namespace fs = std::filesystem;

// The conversions of a printf format, in order: "%-9s %.1f %%" gives "s f".
std::string Conversions(const std::string& format) {
    static const std::regex conversion(
        R"(%[-+ #0]*[0-9*]*(\.[0-9*]+)?(hh|h|ll|l|z|j|t|L)?([a-zA-Z%]))");
    std::string suite;
    for (std::sregex_iterator it(format.begin(), format.end(), conversion), fin; it != fin; ++it)
        if ((*it)[3] != "%") suite += (*it)[2].str() + (*it)[3].str() + " ";
    return suite;
}

// A C string literal's text, its escapes undone.
std::string SansEchappements(const std::string& litteral) {
    std::string texte;
    for (size_t i = 0; i < litteral.size(); ++i) {
        if (litteral[i] != '\\' || i + 1 == litteral.size()) {
            texte += litteral[i];
            continue;
        }
        const char c = litteral[++i];
        if (c == 'n')
            texte += '\n';
        else if (c == 'r')
            texte += '\r';
        else if (c == 't')
            texte += '\t';
        else if (c >= '0' && c <= '7') {
            int valeur = 0;
            for (int n = 0;
                 n < 3 && i < litteral.size() && litteral[i] >= '0' && litteral[i] <= '7'; ++n, ++i)
                valeur = valeur * 8 + (litteral[i] - '0');
            --i;
            texte += static_cast<char>(valeur);
        } else
            texte += c;
    }
    return texte;
}

// Every literal text given to Alerte or TexteLangue in the sources, with the
// file it was first found in. Adjacent literals are joined, as the compiler
// joins them.
std::map<std::string, std::string> TextesDesSources() {
    static const std::regex appel(R"re(\b(Alerte|TexteLangue)\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+))re");
    static const std::regex litteral(R"re("((?:[^"\\]|\\.)*)")re");
    std::map<std::string, std::string> textes;
    for (const fs::directory_entry& e :
         fs::recursive_directory_iterator(fs::path(RUZO_TEST_DATA) / ".." / ".." / "src")) {
        if (e.path().extension() != ".cpp") continue;
        std::ifstream f(e.path());
        std::stringstream contenu;
        contenu << f.rdbuf();
        const std::string source = contenu.str();
        for (std::sregex_iterator it(source.begin(), source.end(), appel), fin; it != fin; ++it) {
            const std::string suite = (*it)[2].str();
            std::string texte;
            for (std::sregex_iterator l(suite.begin(), suite.end(), litteral); l != fin; ++l)
                texte += SansEchappements((*l)[1].str());
            textes.emplace(texte, e.path().filename().string());
        }
    }
    return textes;
}

TEST(CatalogueFrancais, HoldsEveryTextOfTheSourcesWithTheSameConversions) {
    std::map<std::string, std::string> catalogue;
    for (const TexteFrancais& t : CatalogueFrancais()) {
        EXPECT_TRUE(catalogue.emplace(t.anglais, t.francais).second) << "twice: " << t.anglais;
        EXPECT_EQ(Conversions(t.anglais), Conversions(t.francais)) << t.anglais;
    }
    const std::map<std::string, std::string> sources = TextesDesSources();
    EXPECT_GT(sources.size(), 200u);  // the sources were found and read
    for (const auto& [texte, fichier] : sources)
        EXPECT_TRUE(catalogue.count(texte))
            << fichier << ": no French text for \"" << texte << "\"";
}

TEST(TexteLangue, FollowsTheLanguageAndAlertsToo) {
    const int avant = LangueCourante();
    CaptureAlertes alertes;
    DefinitLangue(2);
    EXPECT_STREQ(TexteLangue("Document is empty"), "Le document est vide");
    EXPECT_STREQ(TexteLangue("a text no catalogue holds"), "a text no catalogue holds");
    Alerte("Page %d failed: no staff was found on it", 3);
    DefinitLangue(1);
    EXPECT_STREQ(TexteLangue("Document is empty"), "Document is empty");
    Alerte("Page %d failed: no staff was found on it", 3);
    DefinitLangue(avant);
    ASSERT_EQ(alertes.Textes().size(), 2u);
    EXPECT_EQ(alertes.Textes()[0], "Échec de la page 3 : aucune portée n'y a été trouvée");
    EXPECT_EQ(alertes.Textes()[1], "Page 3 failed: no staff was found on it");
}

}  // namespace
