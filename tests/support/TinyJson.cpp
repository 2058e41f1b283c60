// The strict JSON reader: RFC 8259 grammar, no extensions (no NaN, no trailing commas).
#include "support/TinyJson.h"

#include <gtest/gtest.h>

#include <cctype>
#include <charconv>

#include "tools/sim/Json.h"

namespace hopla::testing {
namespace {

const Json kMissing;

class Reader {
  public:
    explicit Reader(std::string_view text) : s_(text) {}

    std::optional<Json> document() {
        std::optional<Json> v = value();
        skip();
        if (!v || i_ != s_.size()) return std::nullopt;
        return v;
    }

  private:
    void skip() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) {
            ++i_;
        }
    }
    bool eat(char c) {
        skip();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (s_.substr(i_, w.size()) != w) return false;
        i_ += w.size();
        return true;
    }

    std::optional<Json> value() {
        skip();
        if (i_ >= s_.size()) return std::nullopt;
        Json v;
        const char c = s_[i_];
        if (c == '{') return object();
        if (c == '[') return array();
        if (c == '"') {
            std::optional<std::string> text = string();
            if (!text) return std::nullopt;
            v.kind = Json::Kind::String;
            v.text = std::move(*text);
            return v;
        }
        if (word("null")) return v;
        if (word("true") || word("false")) {
            v.kind = Json::Kind::Bool;
            v.boolean = s_[i_ - 4] == 't';
            return v;
        }
        return number();
    }

    std::optional<std::string> string() {
        const std::size_t start = i_++;
        while (i_ < s_.size() && s_[i_] != '"') i_ += s_[i_] == '\\' ? 2 : 1;
        if (i_ >= s_.size()) return std::nullopt;
        ++i_;
        return ParseJsonString(s_.substr(start, i_ - start));
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    std::optional<Json> number() {
        const std::size_t start = i_;
        auto digits = [&] {
            const std::size_t from = i_;
            while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
            return i_ - from;
        };
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        if (i_ < s_.size() && s_[i_] == '0') {
            ++i_;
        } else if (digits() == 0) {
            return std::nullopt;
        }
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            if (digits() == 0) return std::nullopt;
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            if (digits() == 0) return std::nullopt;
        }
        Json v;
        v.kind = Json::Kind::Number;
        v.numberText = std::string(s_.substr(start, i_ - start));
        std::from_chars(v.numberText.data(), v.numberText.data() + v.numberText.size(), v.number);
        return v;
    }

    std::optional<Json> array() {
        ++i_;
        Json v;
        v.kind = Json::Kind::Array;
        if (eat(']')) return v;
        do {
            std::optional<Json> item = value();
            if (!item) return std::nullopt;
            v.items.push_back(std::move(*item));
        } while (eat(','));
        if (!eat(']')) return std::nullopt;
        return v;
    }

    std::optional<Json> object() {
        ++i_;
        Json v;
        v.kind = Json::Kind::Object;
        if (eat('}')) return v;
        do {
            skip();
            if (i_ >= s_.size() || s_[i_] != '"') return std::nullopt;
            std::optional<std::string> key = string();
            if (!key || !eat(':')) return std::nullopt;
            std::optional<Json> member = value();
            if (!member) return std::nullopt;
            v.names.push_back(std::move(*key));
            v.items.push_back(std::move(*member));
        } while (eat(','));
        if (!eat('}')) return std::nullopt;
        return v;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

const Json& Json::operator[](std::string_view key) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == key) return items[i];
    }
    ADD_FAILURE() << "no member " << key;
    return kMissing;
}

const Json& Json::operator[](std::size_t index) const {
    if (index < items.size()) return items[index];
    ADD_FAILURE() << "no item " << index << " of " << items.size();
    return kMissing;
}

bool Json::has(std::string_view key) const {
    for (const std::string& name : names) {
        if (name == key) return true;
    }
    return false;
}

std::optional<Json> ParseJson(std::string_view text) {
    return Reader(text).document();
}

}  // namespace hopla::testing
