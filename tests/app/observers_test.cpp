// The observers of the game's handlers: told in the order they registered, each until its
// handle goes, also when a handle goes or comes during a call or outlives the game.
#include <gtest/gtest.h>

#include <string>

#include "app/Observers.h"

namespace hopla {
namespace {

TEST(Observers, AreToldInOrderUntilTheirHandleGoes) {
    ObserverList list;
    std::string told;
    const auto note = [&told](char who) {
        return [&told, who](std::string_view handler) { told += who + std::string(handler) + " "; };
    };
    ObserverHandle a = list.add(note('a'));
    {
        const ObserverHandle b = list.add(note('b'));
        list.tell("1");
    }
    list.tell("2");
    // c removes itself while told; d, registered meanwhile, hears from the next handler on.
    ObserverHandle c, d;
    c = list.add([&](std::string_view handler) {
        told += "c" + std::string(handler) + " ";
        c.reset();
        d = list.add(note('d'));
    });
    list.tell("3");
    list.tell("4");
    ObserverHandle moved = std::move(a);
    list.tell("5");
    moved.reset();
    list.tell("6");
    EXPECT_EQ(told, "a1 b1 a2 a3 c3 a4 d4 a5 d5 d6 ");

    ObserverHandle outliving;
    {
        ObserverList gone;
        outliving = gone.add(note('x'));
    }
    outliving.reset();  // harmless
}

}  // namespace
}  // namespace hopla
