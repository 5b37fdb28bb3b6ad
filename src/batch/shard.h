// A share of a batch for one of N machines or array tasks. The documents are
// ranked by their source path as named (byte order, so the ranking is the
// same on every machine) and share K of N takes ranks K-1, K-1+N, K-1+2N...:
// the N shares cover every document exactly once, and each share gets a mix
// of the collection rather than one corner of it.
#pragma once

#include <string>
#include <vector>

#include "batch/batch_inputs.h"

struct PartLot {
    int k = 1;  // from 1
    int n = 1;
};

// "K/N" with 1 <= K <= N <= 100000; false on anything else.
bool LitPartLot(const std::string& texte, PartLot& part);

// The documents of share `part`, in their original order.
std::vector<DocumentLot> ChoisitPart(const std::vector<DocumentLot>& documents,
                                     const PartLot& part);
