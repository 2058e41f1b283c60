// A whole game between two handlers, as a runner keeps it to go back to.
#pragma once

#include <memory>

namespace hopla {

// Taken by Game::save, given back to Game::restore of the game that took it. What it holds is
// the game's own business: the record, every element of the window, the handler count. It
// never changes, so copies share it; a default-made one holds nothing and restores nowhere.
class GameSnapshot {
  public:
    GameSnapshot() = default;

  private:
    friend class Game;
    struct Contents;  // defined by Game
    explicit GameSnapshot(std::shared_ptr<const Contents> contents)
        : contents_(std::move(contents)) {}

    std::shared_ptr<const Contents> contents_;
};

}  // namespace hopla
