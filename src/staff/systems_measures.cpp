#include "staff/systems_measures.h"

bool DoAnalyseSystemes() { return true; }

bool AnalyseMesures() { return true; }

bool RechercheMesures() { return true; }
