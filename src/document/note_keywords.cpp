#include "document/note_keywords.h"

#include <cstring>

#include "document/document_model.h"

namespace {

struct MotCode {
    const char* mot;
    int code;
};

constexpr MotCode kAlterations[] = {
    {"Becarre", 0}, {"Diese", 1}, {"Bemol", 3}, {"DoubleDiese", 4}, {"DoubleBemol", 5}};
constexpr MotCode kQueues[] = {
    {"QueueNormale", 1}, {"QueueHautGauche", 2}, {"QueueBasDroite", 3}, {"QueueBasse", 4}};
constexpr MotCode kEffets[] = {{"MordantSup", 1},    {"MordantInf", 2}, {"DblMordantSup", 3},
                               {"DblMordantSup", 4}, {"Trille", 5},     {"Staccato", 6}};
constexpr MotCode kClefs[] = {{"Sol", 1}, {"Fa", 2}, {"Ut", 3}};
constexpr MotCode kTypesNotes[] = {
    {"Appogiature", 59},  {"Ronde", 119},          {"Blanche", 250},       {"Noire", 207},
    {"Pause", 183},       {"DemiPause", 238},      {"Soupir", 206},        {"DemiSoupir", 228},
    {"QuartSoupir", 197}, {"HuitiemeSoupir", 168}, {"SeiziemeSoupir", 244}};

struct MotType {
    const char* mot;
    uint8_t silence;
    int32_t duree;
};

constexpr MotType kDurees[] = {{"Ronde", 0, kDureeRonde},
                               {"Blanche", 0, kDureeRonde / 2},
                               {"Noire", 0, kDureeNoire},
                               {"Pause", 1, kDureeRonde},
                               {"DemiPause", 1, kDureeRonde / 2},
                               {"Soupir", 1, kDureeNoire},
                               {"DemiSoupir", 1, kDureeNoire / 2},
                               {"QuartSoupir", 1, kDureeNoire / 4},
                               {"HuitiemeSoupir", 1, kDureeNoire / 8},
                               {"SeiziemeSoupir", 1, kDureeNoire / 16}};

template <size_t N>
const char* Nom(const MotCode (&table)[N], int code) {
    for (const MotCode& e : table)
        if (e.code == code) return e.mot;
    return "";
}

template <size_t N>
int Code(const MotCode (&table)[N], const char* mot) {
    for (const MotCode& e : table)
        if (std::strcmp(e.mot, mot) == 0) return e.code;
    return -1;
}

}  // namespace

const char* NomAlteration(int code) {
    return Nom(kAlterations, code);
}
const char* NomQueue(int code) {
    return Nom(kQueues, code);
}
const char* NomEffet(int code) {
    return Nom(kEffets, code);
}
const char* NomTypeClef(int type) {
    return Nom(kClefs, type);
}
const char* MotTypeNote(int codeNote) {
    return Nom(kTypesNotes, codeNote);
}

int CodeAlteration(const char* mot) {
    return Code(kAlterations, mot);
}
int CodeQueue(const char* mot) {
    return Code(kQueues, mot);
}
int CodeEffet(const char* mot) {
    return Code(kEffets, mot);
}

bool LitTypeNote(const char* mot, TypeNote& type) {
    for (const MotType& e : kDurees) {
        if (std::strcmp(e.mot, mot) == 0) {
            type.Silence = e.silence;
            type.Duree = e.duree;
            return true;
        }
    }
    return false;
}
