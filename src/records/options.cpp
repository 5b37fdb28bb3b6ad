#include "records/options.h"

OptionsReconnaissance Options;
ParametresReglage Reglage;
TonaliteEtMesure TonaliteForcee;

void RegleOptionsParDefaut(OptionsReconnaissance& options) {
    options = OptionsReconnaissance{};
}

void RegleParametresParDefaut() {
    Reglage = ParametresReglage{};
}

ReglagesReconnaissance ReglagesCourants() {
    return {Options, Reglage, TonaliteForcee};
}
