// A strict JSON syntax check for tests of the --json outputs (no values are built).
#pragma once

#include <cctype>
#include <cstring>
#include <string_view>

namespace mw::test {

class JsonCheck {
  public:
    // True when `text` is exactly one JSON value, with optional white space around it.
    static bool valid(std::string_view text)
    {
        JsonCheck c(text);
        return c.value() && (c.space(), c.pos_ == text.size());
    }

  private:
    explicit JsonCheck(std::string_view t) : t_(t) {}

    void space()
    {
        while (pos_ < t_.size() && std::strchr(" \t\r\n", t_[pos_]) != nullptr)
            ++pos_;
    }
    bool eat(char c)
    {
        space();
        if (pos_ < t_.size() && t_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w)
    {
        if (t_.substr(pos_, w.size()) != w)
            return false;
        pos_ += w.size();
        return true;
    }
    bool value()
    {
        space();
        if (pos_ >= t_.size())
            return false;
        const char c = t_[pos_];
        if (c == '{')
            return members('}', true);
        if (c == '[')
            return members(']', false);
        if (c == '"')
            return string();
        if (c == 't' || c == 'f' || c == 'n')
            return word("true") || word("false") || word("null");
        return number();
    }
    bool members(char close, bool keyed)
    {
        ++pos_;
        if (eat(close))
            return true;
        do {
            space();
            if (keyed && !(pos_ < t_.size() && t_[pos_] == '"' && string() && eat(':')))
                return false;
            if (!value())
                return false;
        } while (eat(','));
        return eat(close);
    }
    bool string()
    {
        ++pos_;
        while (pos_ < t_.size()) {
            const unsigned char c = static_cast<unsigned char>(t_[pos_++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (pos_ >= t_.size())
                    return false;
                const char e = t_[pos_++];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i)
                        if (pos_ >= t_.size() || !std::isxdigit(static_cast<unsigned char>(t_[pos_++])))
                            return false;
                } else if (std::strchr("\"\\/bfnrt", e) == nullptr) {
                    return false;
                }
            }
        }
        return false;
    }
    bool number()
    {
        const std::size_t start = pos_;
        if (pos_ < t_.size() && t_[pos_] == '-')
            ++pos_;
        const std::size_t digits = pos_;
        while (pos_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[pos_])) || t_[pos_] == '.' ||
                                    t_[pos_] == 'e' || t_[pos_] == 'E' || t_[pos_] == '+' || t_[pos_] == '-'))
            ++pos_;
        return pos_ > digits && pos_ > start && std::isdigit(static_cast<unsigned char>(t_[digits]));
    }

    std::string_view t_;
    std::size_t pos_ = 0;
};

} // namespace mw::test
