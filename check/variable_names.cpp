#include "check/variable_names.h"

namespace skervo {
namespace {

bool StartsName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return ((u | 0x20) >= 'a' && (u | 0x20) <= 'z') || c == '_';
}

bool ContinuesName(char c) {
    return StartsName(c) || (c >= '0' && c <= '9') || c == '(' || c == ')';
}

}  // namespace

std::vector<NamedVariable> NamedVariables(std::string_view line) {
    std::vector<NamedVariable> found;
    for (std::size_t start = line.find('%'); start != std::string_view::npos;
         start = line.find('%', start + 1)) {
        if (start + 1 >= line.size() || !StartsName(line[start + 1])) {
            continue;
        }
        std::size_t end = start + 1;
        while (end < line.size() && ContinuesName(line[end])) {
            ++end;
        }
        const bool closed = end < line.size() && line[end] == '%';
        found.push_back({line.substr(start, end - start + (closed ? 1 : 0)), closed});
        start = closed ? end : end - 1;
    }
    return found;
}

}  // namespace skervo
