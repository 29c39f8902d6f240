// What must hold for any bytes given to the package reader and the QFS decoder: a
// refusal names the package; a package that reads gives every resource's bytes, and its
// copy (as it is, and with one resource replaced) reads back to the same resources. A
// QFS stream that decodes yields exactly its stated size and survives a re-encoding.
#pragma once

#include "package/package.h"
#include "package/qfs.h"

#include <string>
#include <string_view>

namespace mw::fuzz {

inline std::string check_same_resources(const Package& before, const Package& after, std::size_t replaced,
                                        const std::string& replacement)
{
    std::size_t j = 0;
    for (std::size_t i = 0; i < before.resources.size(); ++i) {
        if (static_cast<int>(i) == before.dirIndex)
            continue;
        while (static_cast<int>(j) == after.dirIndex)
            ++j;
        if (j >= after.resources.size())
            return "the copy lost a resource";
        std::string a, b, error;
        if (!resourceBytes(before, i, a, error) || !resourceBytes(after, j, b, error))
            return "a resource that read once does not read again: " + error;
        if ((i == replaced ? replacement : a) != b)
            return "a resource changed in the copy";
        if (i != replaced && storedBytes(before, i) != storedBytes(after, j))
            return "a resource's stored bytes changed in the copy";
        ++j;
    }
    return "";
}

inline std::string check_package(std::string_view bytes)
{
    Package package;
    std::string error;
    if (!parsePackage(std::string(bytes), package, error, "input.package"))
        return error.rfind("input.package: ", 0) == 0 ? "" : "a refusal does not name the package: " + error;
    std::string data;
    for (std::size_t i = 0; i < package.resources.size(); ++i)
        if (!resourceBytes(package, i, data, error))
            return "a resource of a package that read cannot be read: " + error;

    std::size_t replaced = package.resources.size();
    std::string replacement;
    for (std::size_t i = 0; i < package.resources.size() && replaced == package.resources.size(); ++i)
        if (static_cast<int>(i) != package.dirIndex && resourceBytes(package, i, replacement, error)) {
            replaced = i;
            replacement += "edited";
        }
    for (bool replace : {false, true}) {
        std::vector<ResourceReplacement> replacements;
        if (replace && replaced < package.resources.size())
            replacements.push_back({replaced, replacement});
        std::string written;
        if (!serializePackage(package, replacements, written, error))
            return "a package that read cannot be copied: " + error;
        Package again;
        if (!parsePackage(written, again, error, "copy.package"))
            return "the copy does not read back: " + error;
        if (std::string problem =
                check_same_resources(package, again, replace ? replaced : package.resources.size(), replacement);
            !problem.empty())
            return problem;
    }
    return "";
}

inline std::string check_qfs(std::string_view bytes)
{
    std::string out, error;
    if (!qfsDecompress(bytes, out, error))
        return error.empty() ? "the decoder refused without a message" : "";
    if (out.size() != qfsStatedSize(bytes))
        return "the decoder yields another size than its header states";
    std::string again;
    if (!qfsDecompress(qfsCompress(out), again, error) || again != out)
        return "re-encoding the decoded bytes does not decode back to them";
    return "";
}

} // namespace mw::fuzz
