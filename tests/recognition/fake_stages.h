// Recognition stages that do nothing and succeed, for the tests that put
// fakes of their own in place of some stages and need the others out of
// the way: every stage but the staff search, which the test gives.
#pragma once

#include "recognition/page_driver.h"
#include "records/etat_page.h"

inline EtapesReconnaissance EtapesFactices(bool (*recherchePortees)(EtatPage&,
                                                                    const ReglagesReconnaissance&,
                                                                    Offscreen&)) {
    using R = const ReglagesReconnaissance&;
    const auto oui = [](EtatPage&, R) { return true; };
    const auto ouiPage = [](EtatPage&) { return true; };
    const auto rien = [](EtatPage&) {};
    return {recherchePortees,
            [](EtatPage&, R, int, Offscreen) { return true; },
            oui,
            oui,
            rien,
            oui,
            [](EtatPage&, R, float) { return true; },
            [](float s) { return static_cast<int16_t>(s * 4); },
            [](EtatPage&, R, int, Offscreen) {},
            oui,
            oui,
            oui,
            ouiPage,
            rien,
            [](EtatPage&, Offscreen) { return true; },
            ouiPage};
}
