#include "symbols/graphe.h"

int16_t CalculeTaches(Graphe& g) {
    if (g.NbTaches < 0) g.NbTaches = 0;
    return g.NbTaches;
}
int16_t CalculeTraitsVerticaux(Graphe& g) {
    if (g.NbTraitsVerticaux < 0) g.NbTraitsVerticaux = 0;
    return g.NbTraitsVerticaux;
}
int16_t CalculeSectionsStables(Graphe& g) {
    if (g.NbSectionsStables < 0) g.NbSectionsStables = 0;
    return g.NbSectionsStables;
}
int16_t CalculeBarresEpaisses(Graphe& g) {
    if (g.NbBarresEpaisses < 0) g.NbBarresEpaisses = 0;
    return g.NbBarresEpaisses;
}
