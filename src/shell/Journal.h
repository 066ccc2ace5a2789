#pragma once
// The support journal: every status text, question (with its answer) and message appended to a
// file, one UTF-8 line each, so that a session can be replayed or checked from outside. Each line
// starts with the milliseconds since the program started, so that the stretches where the window
// answered nothing can be measured from the journal alone.

#include <cstdint>
#include <string>

class TJournal {
public:
    // An empty path gives a journal that writes nothing.
    explicit TJournal(std::string chemin) : chemin_(std::move(chemin)) {}
    bool Actif() const { return !chemin_.empty(); }
    // Appends the time, `genre`, " : " and the text, its line breaks written as the two
    // characters "\n".
    void Ecrire(const std::string& genre, const std::string& texte) const;

private:
    std::string chemin_;
};

// Milliseconds since the program started.
std::int64_t MillisecondesDepuisDebut();

// One line of the journal, without its end of line: "1234 ms statut 1 : texte".
std::string LigneJournal(std::int64_t millisecondes, const std::string& genre,
                         const std::string& texte);
