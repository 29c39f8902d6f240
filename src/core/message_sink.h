// Where the core's messages go. The core never shows anything itself: the GUI turns
// each message into a message box, the command line prints it, tests record it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mw {

enum class MessageKind { Info, Warning, Error };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void report(MessageKind kind, std::string_view text) = 0;

    void info(std::string_view text) { report(MessageKind::Info, text); }
    void warning(std::string_view text) { report(MessageKind::Warning, text); }
    void error(std::string_view text) { report(MessageKind::Error, text); }
};

// Keeps every message; used by tests and by callers that decide later what to show.
class RecordingSink final : public MessageSink {
  public:
    struct Entry {
        MessageKind kind;
        std::string text;
    };

    void report(MessageKind kind, std::string_view text) override { entries.push_back({kind, std::string(text)}); }

    bool empty() const { return entries.empty(); }
    bool has(MessageKind kind) const
    {
        for (const Entry& e : entries)
            if (e.kind == kind)
                return true;
        return false;
    }
    // True when some message contains `part`.
    bool contains(std::string_view part) const
    {
        for (const Entry& e : entries)
            if (e.text.find(part) != std::string::npos)
                return true;
        return false;
    }
    const std::string& last() const
    {
        static const std::string none;
        return entries.empty() ? none : entries.back().text;
    }
    void clear() { entries.clear(); }

    std::vector<Entry> entries;
};

// Drops every message.
class NullSink final : public MessageSink {
  public:
    void report(MessageKind, std::string_view) override {}
};

} // namespace mw
