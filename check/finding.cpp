#include "check/finding.h"

#include <functional>

namespace skervo {

Finding FindingAt(const CheckedLine& line, std::string_view part, Severity severity,
                  std::string_view code, std::string message) {
    Finding finding{line.number, severity, std::move(message), code};
    const std::less_equal<const char*> notAfter;
    const bool inside = !part.empty() && notAfter(line.text.data(), part.data()) &&
                        notAfter(part.data() + part.size(), line.text.data() + line.text.size());
    const std::size_t offset =
        inside ? static_cast<std::size_t>(part.data() - line.text.data()) : line.text.find(part);
    if (!part.empty() && offset != std::string_view::npos) {
        finding.column = line.indent + offset;
        finding.length = part.size();
    }
    return finding;
}

}  // namespace skervo
