// A small streaming JSON writer for the --json output of the commands.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace mw::cli {

class JsonWriter {
  public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    JsonWriter& key(std::string_view k)
    {
        separate();
        string(k);
        out_ += ':';
        afterKey_ = true;
        return *this;
    }
    void value(std::string_view s)
    {
        separate();
        string(s);
    }
    void value(const char* s) { value(std::string_view(s)); }
    void value(bool b)
    {
        separate();
        out_ += b ? "true" : "false";
    }
    void value(std::int64_t n)
    {
        separate();
        out_ += std::to_string(n);
    }
    void value(std::int32_t n) { value(static_cast<std::int64_t>(n)); }
    void value(std::uint32_t n) { value(static_cast<std::int64_t>(n)); }
    void value(std::int16_t n) { value(static_cast<std::int64_t>(n)); }
    void value(std::size_t n) { value(static_cast<std::int64_t>(n)); }
    void value(double d)
    {
        separate();
        if (!std::isfinite(d)) {
            out_ += "null";
            return;
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.9g", d);
        out_ += buf;
    }
    void null()
    {
        separate();
        out_ += "null";
    }

    const std::string& str() const { return out_; }

  private:
    void open(char c)
    {
        separate();
        out_ += c;
        first_.push_back(true);
    }
    void close(char c)
    {
        first_.pop_back();
        out_ += c;
    }
    void separate()
    {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_.empty()) {
            if (!first_.back())
                out_ += ',';
            first_.back() = false;
        }
    }
    // Names are raw 8-bit bytes: bytes of 0x80 and above are written as the characters
    // of the same code (Latin-1), so any file name gives valid JSON.
    void string(std::string_view s)
    {
        out_ += '"';
        for (unsigned char c : s) {
            switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ += buf;
                } else {
                    out_ += static_cast<char>(c);
                }
            }
        }
        out_ += '"';
    }

    std::string out_;
    std::vector<bool> first_;
    bool afterKey_ = false;
};

} // namespace mw::cli
