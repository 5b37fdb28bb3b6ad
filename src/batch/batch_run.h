// A batch: many documents recognised by a pool of worker processes, each
// document by a run of the recognize command of its own, with a log record
// per document and a summary at the end.
//
// The pool is kept full until every document has been started; a stop
// (Ctrl-C, SIGTERM from a scheduler, SIGHUP) starts no more documents,
// asks the running workers to stop, and records them as cancelled; their
// staging folders are dropped, so a --resume run redoes exactly them and
// the documents never started.
#pragma once

#include <string>
#include <vector>

#include "batch/shard.h"

struct DemandeLot {
    std::vector<std::string> entrees;
    std::string sortie;    // OUTDIR
    int travailleurs = 0;  // 0: as many as this process may use cores
    bool reprise = false;  // skip documents whose outputs are complete
    bool partDonnee = false;
    PartLot part;
    std::string journal;             // "" for the default in OUTDIR
    std::string programme;           // the ruzo program the workers run
    std::vector<int> codesReussite;  // the worker exit codes whose outputs are kept (0 first)
    bool pdfLisible = false;         // whether recognize reads PDFs
};

struct ResultatLot {
    bool entreesValides = true;  // false: nothing was run (messages already shown)
    bool arrete = false;         // stopped by a signal
    int echoues = 0;
    int documents = 0;
};

// The log's default name: "ruzo-batch.jsonl", or "ruzo-batch-K-of-N.jsonl"
// for a share, so that array tasks writing into one OUTDIR keep apart.
std::string JournalParDefaut(const DemandeLot& demande);

ResultatLot ExecuteLot(const DemandeLot& demande);
