// The menu's pages and moves.
#include "frontend/Menu.h"

namespace hopla {
namespace {

constexpr int kMainRows = 7;

}  // namespace

void Menu::open() {
    open_ = true;
    page_ = Page::Main;
    selected_ = 0;
}

int Menu::rows() const {
    return page_ == Page::Main ? kMainRows : 1;  // a page of lines has its Back row only
}

MenuAction Menu::up() {
    selected_ = (selected_ + rows() - 1) % rows();
    return MenuAction::None;
}

MenuAction Menu::down() {
    selected_ = (selected_ + 1) % rows();
    return MenuAction::None;
}

MenuAction Menu::left() {
    if (page_ != Page::Main) return MenuAction::None;
    switch (static_cast<Row>(selected_)) {
        case Row::Fullscreen:
            return MenuAction::ToggleFullscreen;
        case Row::Scaling:
            return MenuAction::ToggleScaling;
        case Row::Volume:
            return MenuAction::VolumeDown;
        default:
            return MenuAction::None;
    }
}

MenuAction Menu::right() {
    if (page_ == Page::Main && static_cast<Row>(selected_) == Row::Volume)
        return MenuAction::VolumeUp;
    return left();
}

MenuAction Menu::select() {
    if (page_ != Page::Main) return back();
    switch (static_cast<Row>(selected_)) {
        case Row::Resume:
            open_ = false;
            return MenuAction::Resume;
        case Row::Volume:
            return MenuAction::VolumeNext;
        case Row::Keys:
            page_ = Page::Keys;
            selected_ = 0;
            return MenuAction::None;
        case Row::Records:
            page_ = Page::Records;
            selected_ = 0;
            return MenuAction::None;
        case Row::Quit:
            open_ = false;
            return MenuAction::Quit;
        default:
            return left();
    }
}

MenuAction Menu::back() {
    if (page_ == Page::Main) {
        open_ = false;
        return MenuAction::Resume;
    }
    // Back on the main page at the row that led there.
    selected_ = static_cast<int>(page_ == Page::Keys ? Row::Keys : Row::Records);
    page_ = Page::Main;
    return MenuAction::None;
}

void Menu::hover(int row) {
    if (row >= 0 && row < rows()) selected_ = row;
}

MenuAction Menu::click(int row) {
    if (row < 0 || row >= rows()) return MenuAction::None;
    selected_ = row;
    return select();
}

MenuView Menu::view(const Values& values, const std::vector<std::string>& keys,
                    const std::vector<std::string>& records) const {
    MenuView view;
    view.selected = selected_;
    switch (page_) {
        case Page::Main:
            view.title = "Hopla";
            view.rows = {
                "Resume",
                std::string("Whole screen: ") + (values.fullscreen ? "on" : "off"),
                std::string("Scaling: ") +
                    (values.scaling == ScalingMode::Fit ? "fit" : "whole number"),
                "Volume: " + std::to_string(values.volume) + (values.muted ? " (muted: M)" : ""),
                "Keys",
                "Records",
                "Quit",
            };
            break;
        case Page::Keys:
            view.title = "Keys";
            view.lines = keys;
            view.rows = {"Back"};
            break;
        case Page::Records:
            view.title = "Records";
            view.lines = records.empty() ? std::vector<std::string>{"No records yet"} : records;
            view.rows = {"Back"};
            break;
    }
    return view;
}

std::vector<std::string> DefaultKeyLines() {
    return {
        "Left / Right arrow: push the ball",
        "Space: back to the title room",
        "Left / right mouse button: faster / slower",
        "Esc: this menu   P: pause   M: mute",
        "F11 or Alt+Enter: whole screen",
        "Ctrl+Plus / Ctrl+Minus: window size",
        "Controller: d-pad or stick, Start or Back,",
        "  shoulders for faster / slower, Guide: menu",
    };
}

}  // namespace hopla
