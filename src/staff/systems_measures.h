// Systems and measures of a page.
#pragma once

bool DoAnalyseSystemes();
bool AnalyseMesures();

// Measure boundaries of the current staff, from its unclaimed vertical lines
// and bar signs. Called by the note stage once stems are known.
bool RechercheMesures();
