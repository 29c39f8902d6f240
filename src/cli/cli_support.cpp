#include "cli/cli.h"

#include <algorithm>
#include <cctype>

namespace mw::cli {

bool Args::parse(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions,
                 std::string& error)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() > 1 && w[0] == '-' && !(w.size() > 1 && (std::isdigit(static_cast<unsigned char>(w[1])) != 0))) {
            std::string name = w;
            std::string value;
            const std::size_t eq = w.find('=');
            const bool takesValue = std::find(valueOptions.begin(), valueOptions.end(),
                                              eq == std::string::npos ? w : w.substr(0, eq)) != valueOptions.end();
            if (takesValue && eq != std::string::npos) {
                name = w.substr(0, eq);
                value = w.substr(eq + 1);
            } else if (takesValue) {
                if (i + 1 >= words.size()) {
                    error = "option " + w + " needs a value";
                    return false;
                }
                value = words[++i];
            }
            options_.emplace_back(name, value);
        } else {
            positional_.push_back(w);
        }
    }
    return true;
}

bool Args::flag(std::string_view name) const
{
    return std::any_of(options_.begin(), options_.end(), [&](const auto& o) { return o.first == name; });
}

std::optional<std::string> Args::value(std::string_view name) const
{
    std::optional<std::string> found;
    for (const auto& o : options_)
        if (o.first == name)
            found = o.second;
    return found;
}

std::vector<std::string> Args::values(std::string_view name) const
{
    std::vector<std::string> found;
    for (const auto& o : options_)
        if (o.first == name)
            found.push_back(o.second);
    return found;
}

std::vector<std::string> Args::unknown(const std::vector<std::string>& known) const
{
    std::vector<std::string> bad;
    for (const auto& o : options_)
        if (std::find(known.begin(), known.end(), o.first) == known.end())
            bad.push_back(o.first);
    return bad;
}

int usage_error(const std::string& message, const char* usage)
{
    std::fprintf(stderr, "meshwright-cli: %s\n\n%s", message.c_str(), usage);
    return kExitUsage;
}

bool wants_help(const std::vector<std::string>& words)
{
    return std::any_of(words.begin(), words.end(), [](const std::string& w) { return w == "--help" || w == "-h"; });
}

std::string lower_extension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace mw::cli
