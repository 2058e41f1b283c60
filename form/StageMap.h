// The record's stage table: 22 stages of 20 map rows, shared between copies of the record
// (snapshots) until one of them writes.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

namespace hopla {

// Reads like the 22 x 20 array of texts it holds: map[stage][row]. Copying shares the table;
// the first write through a copy (any non-const access) gives that copy a table of its own, so
// a saved record never sees later writes. A reference got by non-const access stays the
// table's own only until the record is next copied. Start-up fills it, the ending rewrites
// stage 0, hopla-sim's `set` writes single rows.
class StageMapTable {
  public:
    using value_type = std::array<std::string, 20>;  // one stage's rows
    using Table = std::array<value_type, 22>;

    StageMapTable() : table_(std::make_shared<Table>()) {}
    // Copies share; there is no move, so a record moved from still holds its table.
    StageMapTable(const StageMapTable&) = default;
    StageMapTable& operator=(const StageMapTable&) = default;

    const value_type& operator[](std::size_t stage) const { return (*table_)[stage]; }
    value_type& operator[](std::size_t stage) { return own()[stage]; }
    const value_type& at(std::size_t stage) const { return table_->at(stage); }
    value_type& at(std::size_t stage) { return own().at(stage); }
    static constexpr std::size_t size() { return std::tuple_size_v<Table>; }
    const value_type& back() const { return table_->back(); }
    // The whole table, for hashing and printing.
    const Table& table() const { return *table_; }
    Table::const_iterator begin() const { return table_->begin(); }
    Table::const_iterator end() const { return table_->end(); }

    bool operator==(const StageMapTable& other) const {
        return table_ == other.table_ || *table_ == *other.table_;
    }

  private:
    Table& own() {
        if (table_.use_count() > 1) table_ = std::make_shared<Table>(*table_);
        return *table_;
    }

    std::shared_ptr<Table> table_;
};

}  // namespace hopla
