// The window's elements with their fixed properties, as they are before start-up runs.
#include "form/Form1.h"

#include "assets/Sheets.h"

namespace hopla {
namespace {

void SetUpLabel(Label& label) {
    label.setFont({"ＭＳ Ｐゴシック", 18, true});
    label.setForeColor(kWhite);
    label.setBackColor(kBlack);
}

}  // namespace

Form1::Form1(const Clock& clock, SoundDevice& sound, const TextRenderer* text)
    : Display(kScreenWidth, kScreenHeight, kBlack),
      Back(kScreenWidth, kScreenHeight, kBlack),
      Dark(kScreenWidth, kScreenHeight, kWhite),
      Chip(0, 0),
      EndChip(0, 0),
      Label1(Display, 185, 33),
      Label2(Display, 185, 33),
      Timers(clock),
      Timer1(Timers, "Timer1"),
      Timer2(Timers, "Timer2"),
      Timer3(Timers, "Timer3"),
      Timer4(Timers, "Timer4"),
      Timer5(Timers, "Timer5"),
      Timer6(Timers, "Timer6"),
      Etimer(Timers, "Etimer"),
      Sound(sound) {
    for (Picture* p : {&Display, &Back, &Dark, &Chip, &EndChip}) p->setTextRenderer(text);
    Chip.loadImage(assets::TileSheet());
    EndChip.loadImage(assets::EndingSheet());
    SetUpLabel(Label1);
    SetUpLabel(Label2);
    Display.takeChanged();
}

Form1::State Form1::save() const {
    return {Display.save(), Back.save(),   Dark.save(),   Chip.save(), EndChip.save(),
            Label1.save(),  Label2.save(), Timers.save(), ended_};
}

void Form1::restore(const State& state) {
    // The five pictures copy only among themselves and go back to one moment together.
    constexpr auto kTogether = Picture::Stamps::Saved;
    Display.restore(state.display, kTogether);
    Back.restore(state.back, kTogether);
    Dark.restore(state.dark, kTogether);
    Chip.restore(state.chip, kTogether);
    EndChip.restore(state.endChip, kTogether);
    Label1.restore(state.label1);
    Label2.restore(state.label2);
    Timers.restore(state.timers);
    ended_ = state.ended;
}

}  // namespace hopla
