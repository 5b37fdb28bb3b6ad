// Names of the tests run over corpus pages: each test is named after its page
// ("pages/fife_chester/musescore/page-1.png" gives fife_chester_musescore_page_1),
// so that its name is stable from build to build and can be run by name.
// A parameter type only needs a member `chemin` naming the page.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

inline std::string NomTestPage(std::string chemin) {
    const std::string pages = "pages/";
    if (chemin.compare(0, pages.size(), pages) == 0) chemin.erase(0, pages.size());
    const auto point = chemin.rfind('.');
    if (point != std::string::npos) chemin.erase(point);
    for (char& c : chemin)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return chemin;
}

struct NomParPage {
    template <typename Page>
    std::string operator()(const ::testing::TestParamInfo<Page>& info) const {
        return NomTestPage(info.param.chemin);
    }
};
