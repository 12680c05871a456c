// Looking up operation names read at run time, and suggesting the names
// closest to a misspelled one.

#include "control/operations.h"

#include <algorithm>
#include <cctype>

namespace qv::control {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Edits (insert, delete, replace) from one name to the other, ignoring case.
std::size_t Distance(std::string_view from, std::string_view to) {
    std::vector<std::size_t> row(to.size() + 1);
    for (std::size_t j = 0; j <= to.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= from.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j) {
            std::size_t replaced = diagonal + (Lower(from[i - 1]) != Lower(to[j - 1]));
            diagonal = row[j];
            row[j] = std::min({replaced, row[j] + 1, row[j - 1] + 1});
        }
    }
    return row[to.size()];
}

// The method part of "Interface::Method", or the whole name.
std::string_view Method(std::string_view name) {
    std::size_t scope = name.rfind("::");
    return scope == std::string_view::npos ? name : name.substr(scope + 2);
}

}  // namespace

const Operation* FindOperation(std::string_view name) {
    for (const Operation& operation : kOperations) {
        if (operation.name == name) return &operation;
    }
    return nullptr;
}

std::vector<std::string_view> NearestOperations(std::string_view name) {
    // A bare method name ("Clear") is as close as the full name it ends.
    struct Candidate {
        std::size_t distance;
        std::string_view name;
    };
    std::vector<Candidate> candidates;
    for (const Operation& operation : kOperations) {
        if (operation.fault == S_OK) continue;
        std::size_t distance = std::min(Distance(name, operation.name), Distance(name, Method(operation.name)));
        candidates.push_back({distance, operation.name});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    // The closest names, if they are close at all: within a third of the
    // typed name's length.
    std::size_t limit = std::max<std::size_t>(2, name.size() / 3);
    std::vector<std::string_view> nearest;
    for (const Candidate& candidate : candidates) {
        if (candidate.distance > limit || candidate.distance > candidates.front().distance || nearest.size() == 3) break;
        nearest.push_back(candidate.name);
    }
    return nearest;
}

}  // namespace qv::control
