// The alerts and trace lines of one thread, held back instead of reaching
// the sinks. Work split over threads keeps its lines this way and hands
// them on in the order the work would have run in on one thread, so that
// what the user reads does not depend on the threads.
#pragma once

#include <string>
#include <vector>

class MessagesRetenus {
  public:
    struct Ligne {
        bool alerte;  // an alert, else a trace line
        std::string texte;
    };

    // Holds this thread's lines while alive.
    MessagesRetenus();
    ~MessagesRetenus();
    MessagesRetenus(const MessagesRetenus&) = delete;
    MessagesRetenus& operator=(const MessagesRetenus&) = delete;

    // Takes the lines held so far; the holder goes on holding.
    std::vector<Ligne> Prends();
    // Sends lines to the sinks, in their order, from any thread.
    static void Envoie(const std::vector<Ligne>& lignes);

    // Where this thread's alerts and trace lines go while it holds them.
    void Retiens(bool alerte, std::string texte);

  private:
    std::vector<Ligne> lignes_;
    MessagesRetenus* precedent_;
};
