// Test classes of the desktop suite register a factory here, in file order
// of the link; the start-up test asks to run first.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

using FabriqueEssai = std::function<std::unique_ptr<QObject>()>;
std::vector<FabriqueEssai>& EssaisBureau();

template <class Essai>
struct EnregistreEssai {
    explicit EnregistreEssai(bool enPremier = false) {
        FabriqueEssai f = [] { return std::make_unique<Essai>(); };
        auto& essais = EssaisBureau();
        if (enPremier)
            essais.insert(essais.begin(), f);
        else
            essais.push_back(f);
    }
};
