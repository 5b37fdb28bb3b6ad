// The pages a user asks for in a multi-page file, written as "1-3,7": page
// numbers and ranges from 1, separated by commas, in the order given.
#pragma once

#include <string>
#include <vector>

// The pages of `texte` in the order given, each once; an empty text asks for
// pages 1 to `nbPages`. False with `erreur` set when the text is not a list
// of pages or names a page past `nbPages`.
bool LitPagesDemandees(const std::string& texte, int nbPages, std::vector<int>& pages,
                       std::string& erreur);
