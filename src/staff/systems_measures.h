// Systems and measures of a page.
#pragma once

bool DoAnalyseSystemes();
bool AnalyseMesures();
