// Registering, removing and telling the observers of a game's handlers.
#include "app/Observers.h"

#include <algorithm>
#include <utility>

namespace hopla {

ObserverList::Handle& ObserverList::Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        reset();
        list_ = std::move(other.list_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void ObserverList::Handle::reset() {
    if (const std::shared_ptr<State> list = list_.lock()) list->remove(id_);
    list_.reset();
    id_ = 0;
}

ObserverList::Handle ObserverList::add(Observer observer) {
    const std::uint64_t id = state_->nextId++;
    state_->entries.push_back({id, std::make_unique<Observer>(std::move(observer))});
    return Handle(state_, id);
}

void ObserverList::State::remove(std::uint64_t id) {
    const auto found =
        std::find_if(entries.begin(), entries.end(), [id](const Entry& e) { return e.id == id; });
    if (found == entries.end()) return;
    // While observers are being told, the removed one (perhaps the one running) stays in place,
    // silent, until the last call is over.
    if (telling > 0) {
        found->id = 0;
    } else {
        entries.erase(found);
    }
}

void ObserverList::tellAll(std::string_view handler) {
    // The count and the removed ones are put right however the calls end (an observer may throw).
    struct Telling {
        State& state;
        explicit Telling(State& s) : state(s) { ++state.telling; }
        ~Telling() {
            if (--state.telling == 0)
                std::erase_if(state.entries, [](const Entry& e) { return e.id == 0; });
        }
    };
    State& state = *state_;
    const Telling telling(state);
    const std::size_t count = state.entries.size();
    for (std::size_t i = 0; i < count; ++i)
        if (state.entries[i].id != 0) (*state.entries[i].observer)(handler);
}

}  // namespace hopla
