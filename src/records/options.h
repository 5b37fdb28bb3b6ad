// The recognition options of the current document and the tuning
// parameters. The stages read these records; nothing else keeps a copy.
#pragma once

#include <cstdint>

struct OptionsReconnaissance {
    uint8_t ModeArmature = 1;    // 0 given by the user, 1 recognised, 2 any digits
    uint8_t RechercherClef = 2;  // 0 first staff, 1 every staff, 2 also after bar lines
    uint8_t NotationAbregee = 1;
    uint8_t TigeObligatoire = 1;
    uint8_t AutoriserAppogiatures = 1;
    uint8_t AutoriserTuplets = 1;
    uint8_t AutoriserCorpsInverse = 0;
    uint8_t AutoriserEffets = 1;
    uint8_t AutoriserLiaisons = 1;
    // Whole notes are looked for unless an options file says otherwise: a
    // file written before keeps the value it holds.
    uint8_t AutoriserRondes = 1;
    uint8_t AutoriserRuptures = 1;
    uint8_t calculerTailleTige = 0;
    int16_t PourcentGraceNote = 4;
};

struct ParametresReglage {
    float RecherchePorteeNbPixelsConsectifs = 10.0f;
    float RecherchePorteeNbTransitions = 3.0f;
    float RecherchePorteeValSeuil = 1.2f;
    float LigneVertDistanceMaxSansPoint = 0.4f;
    float LigneVertEpaisseurLimite = 0.6f;
    float LigneVertHauteurMinimale = 0.4f;
    float LigneVertToleranceLigneConfonduesX = 0.2f;
    float LigneVertToleranceLigneConfonduesY = 0.4f;
    float LigneIncertitudePosition = 0.4f;
    float AccrocheLargeurMinimaleBarre = 2.0f;
    float AccrocheMargeXIntersecteLigneVert = 1.0f;
    float AccrocheMargeYIntersecteLigneVert = 0.8f;
    float AccrocheLargeurMinimaleMorceauAccroche = 0.4f;
    float AccrocheEpaisseurMinimaleBarreSimple = 0.25f;
    float AccrochePenteLimite = 0.5f;
    float TigeToleranceX = 0.7f;
    float TigeToleranceY = 2.0f;
    float MesureToleranceRecherche = 0.2f;
    float SeuilReconnaissanceCroche = 700.0f;
    float SeuilReconnaissanceAlteration = 400.0f;
    float SeuilReconnaissancePointe = 400.0f;
    float SeuilReconnaissanceNote = 400.0f;
    float SeuilReconnaissanceClef = 500.0f;
    float SeuilReconnaissanceAlterationClef = 400.0f;
    float SeuilReconnaissanceNotationAbregee = 500.0f;
    float SeuilReconnaissanceChiffre = 500.0f;
};
static_assert(sizeof(ParametresReglage) == 26 * sizeof(float));

// Key and time given by the user when ModeArmature is 0.
struct TonaliteEtMesure {
    int16_t Tonalite = 0;  // 0..7 sharps, 8..14 one to seven flats
    int16_t Numerateur = 4;
    int16_t Denominateur = 4;
    // Which of the two the user gave: the other is read from the page. The
    // dialog and page lists give both; the command line may give one.
    bool TonaliteDonnee = true;
    bool MesureDonnee = true;
};

// The current document's options, the process's tuning parameters and the
// user's key and time: where the program loads its settings. Recognition
// does not read them here: the driver hands the stages a
// `ReglagesReconnaissance`.
extern OptionsReconnaissance Options;
extern ParametresReglage Reglage;
extern TonaliteEtMesure TonaliteForcee;

// The settings one recognition reads, read-only, by every stage that needs
// them.
struct ReglagesReconnaissance {
    const OptionsReconnaissance& Options;
    const ParametresReglage& Reglage;
    const TonaliteEtMesure& TonaliteForcee;
};

// The settings the program has loaded.
ReglagesReconnaissance ReglagesCourants();

void RegleOptionsParDefaut(OptionsReconnaissance& options);
void RegleParametresParDefaut();
