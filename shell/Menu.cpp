// The menu's pages as rows, and its moves.
#include "shell/Menu.h"

#include <algorithm>

namespace hopla {
namespace {

using Kind = MenuAction::Kind;

MenuRow Plain(std::string label, Kind choose) {
    return {std::move(label), {}, {}, {choose}};
}

// A setting's row: its label and value; a row of two values is stepped by choosing it too.
MenuRow SettingRowOf(const SettingRow& row, const MenuValues& values) {
    std::string value = row.show ? row.show(values.settings) : row.write(values.settings);
    if (row.id == Setting::Volume) {
        if (values.muted)
            value += " (muted)";
        else if (!values.sound)
            value = "no sound device";
    }
    const MenuAction left{Kind::Step, row.id, -1}, right{Kind::Step, row.id, 1};
    return {std::string(row.menuLabel) + ": " + value, left, right,
            row.number ? MenuAction{} : right};
}

constexpr const char* kRoleLabels[] = {"Left", "Right", "Back to the title room"};

// A role's row on the Keys page: the keys that play it, or the buttons while a controller was
// used last.
MenuRow RoleRow(Role role, const MenuValues& values, bool asking) {
    const KeyBindings& keys = values.settings.keys;
    const std::size_t i = static_cast<std::size_t>(role);
    std::string names = "...";
    if (!asking)
        names = IsController(values.input) ? PadButtonNames(keys.*ListOf(role, true), values.input)
                : values.keyNames          ? values.keyNames(keys.*ListOf(role, false))
                                           : "";
    MenuAction choose{Kind::Capture};
    choose.role = role;
    return {std::string(kRoleLabels[i]) + ": " + names, {}, {}, choose};
}

}  // namespace

void Menu::open() {
    open_ = true;
    page_ = Page::Main;
    selected_ = 0;
    capturing_.reset();
    note_.clear();
}

void Menu::bound(std::string note) {
    capturing_.reset();
    note_ = std::move(note);
}

std::vector<MenuRow> Menu::rows(const MenuValues& values) const {
    if (page_ == Page::Keys) {
        std::vector<MenuRow> rows;
        for (const Role role : {Role::Left, Role::Right, Role::Back})
            rows.push_back(RoleRow(role, values, capturing_ == role));
        rows.push_back(Plain("Reset to defaults", Kind::ResetKeys));
        rows.push_back(Plain("Back", Kind::Back));
        return rows;
    }
    if (page_ != Page::Main) return {Plain("Back", Kind::Back)};
    std::vector<MenuRow> rows = {Plain("Resume", Kind::Resume)};
    for (const SettingRow& row : SettingRows())
        if (!row.menuLabel.empty() &&
            std::find(leftOut_.begin(), leftOut_.end(), row.id) == leftOut_.end())
            rows.push_back(SettingRowOf(row, values));
    rows.push_back(Plain("Keys", Kind::Keys));
    rows.push_back(Plain("Records", Kind::Records));
    if (export_) {
        rows.push_back(Plain("Export records and settings", Kind::Export));
        rows.push_back(Plain("Import records and settings", Kind::Import));
    }
    rows.push_back(Plain("Quit", Kind::Quit));
    return rows;
}

MenuAction Menu::move(Command command) {
    if (capturing_) {
        if (command == Command::Back || command == Command::Menu) bound("");
        return {};
    }
    note_.clear();
    const std::vector<MenuRow> all = rows();
    const int count = static_cast<int>(all.size());
    const MenuRow& row = all[static_cast<std::size_t>(selected_)];
    switch (command) {
        case Command::Up:
            selected_ = (selected_ + count - 1) % count;
            return {};
        case Command::Down:
            selected_ = (selected_ + 1) % count;
            return {};
        case Command::Left:
            return take(row.left);
        case Command::Right:
            return take(row.right);
        case Command::Select:
            return take(row.choose);
        case Command::Back:
            return take({page_ == Page::Main ? Kind::Resume : Kind::Back});
        default:
            return {};
    }
}

MenuAction Menu::take(MenuAction action) {
    switch (action.kind) {
        case Kind::Resume:
        case Kind::Quit:
            open_ = false;
            return action;
        case Kind::Keys:
        case Kind::Records:
            page_ = action.kind == Kind::Keys ? Page::Keys : Page::Records;
            selected_ = 0;
            return {};
        case Kind::Capture:
            capturing_ = action.role;
            return {};
        case Kind::Back: {
            // Back on the main page at the row that led there.
            const Kind from = page_ == Page::Keys ? Kind::Keys : Kind::Records;
            page_ = Page::Main;
            const std::vector<MenuRow> main = rows();
            for (std::size_t i = 0; i < main.size(); ++i)
                if (main[i].choose.kind == from) selected_ = static_cast<int>(i);
            return {};
        }
        default:
            return action;
    }
}

void Menu::hover(int row) {
    if (!capturing_ && row >= 0 && row < static_cast<int>(rows().size())) selected_ = row;
}

MenuAction Menu::click(int row) {
    if (row < 0 || row >= static_cast<int>(rows().size())) return {};
    selected_ = row;
    return move(Command::Select);
}

MenuView Menu::view(const MenuValues& values, const std::vector<std::string>& keys,
                    const std::vector<std::string>& records) const {
    MenuView view;
    view.selected = selected_;
    view.hint = MenuHint(values.input);
    for (const MenuRow& row : rows(values)) view.rows.push_back(row.label);
    switch (page_) {
        case Page::Main:
            view.title = "Hopla";
            break;
        case Page::Keys:
            view.title = "Keys";
            if (capturing_)
                view.lines.push_back(
                    "Press the new key or button for " +
                    std::string(kRoleLabels[static_cast<int>(*capturing_)]) +
                    (!IsController(values.input)
                         ? " (Esc: keep)"
                         : " (" + std::string(NamesOf(values.input).back) + ": keep)"));
            else if (!note_.empty())
                view.lines.push_back(note_);
            view.lines.insert(view.lines.end(), keys.begin(), keys.end());
            break;
        case Page::Records:
            view.title = "Records";
            view.lines = records.empty() ? std::vector<std::string>{"No records yet"} : records;
            break;
    }
    return view;
}

std::vector<std::string> DefaultKeyLines(bool inPage) {
    std::vector<std::string> lines = {
        "Left / right mouse button: faster / slower",
        "Esc: this menu   P: pause   M: mute",
    };
    if (inPage) {
        lines.push_back("Alt+Enter: whole screen");
    } else {
        lines.push_back("F11 or Alt+Enter: whole screen");
        lines.push_back("Ctrl+Plus / Ctrl+Minus: window size");
    }
    lines.push_back("Controller: d-pad or stick, Start or Back,");
    lines.push_back("  shoulders for faster / slower, Guide: menu");
    return lines;
}

}  // namespace hopla
