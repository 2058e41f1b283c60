// The observers of a game's handlers, each told until its registration goes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace hopla {

// Held by Game, which tells it after every handler. Observers are told in the order they
// registered; one registered while the others are told hears from the next handler on.
class ObserverList {
  public:
    using Observer = std::function<void(std::string_view handler)>;
    class Handle;

    ObserverList() = default;
    ObserverList(const ObserverList&) = delete;
    ObserverList& operator=(const ObserverList&) = delete;

    [[nodiscard]] Handle add(Observer observer);
    // Tells every observer the handler's name. Nothing but a test of an empty vector when none
    // is registered (the solver runs millions of handlers).
    void tell(std::string_view handler) {
        if (!state_->entries.empty()) tellAll(handler);
    }

  private:
    struct Entry {
        std::uint64_t id;                    // 0 once removed while observers were being told
        std::unique_ptr<Observer> observer;  // stays put while the vector grows under a call
    };
    // Shared with the handles, so that one that outlives the game does no harm.
    struct State {
        std::vector<Entry> entries;
        std::uint64_t nextId = 1;
        int telling = 0;  // calls of tellAll under way (an observer may run a handler)
        void remove(std::uint64_t id);
    };

    void tellAll(std::string_view handler);

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// One observer's registration, from ObserverList::add (Game::observe): the observer is told
// until this is destroyed or reset. Movable, not copyable.
class ObserverList::Handle {
  public:
    Handle() = default;
    Handle(Handle&& other) noexcept = default;
    Handle& operator=(Handle&& other) noexcept;
    ~Handle() { reset(); }

    // Stops the observer now (also from inside a call to it).
    void reset();

  private:
    friend class ObserverList;
    Handle(std::weak_ptr<State> list, std::uint64_t id) : list_(std::move(list)), id_(id) {}

    std::weak_ptr<State> list_;
    std::uint64_t id_ = 0;
};

using ObserverHandle = ObserverList::Handle;

}  // namespace hopla
