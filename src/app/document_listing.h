// `ruzo doc list`: the current document's pages with their options and
// command areas, and its last recognition, as text or JSON.
#pragma once

#include <cstdio>

void AfficheDocument(std::FILE* sortie, bool json);

// The areas of one page (0-based), numbered from 1, as text.
void AfficheAiresPage(std::FILE* sortie, int indexPage);
