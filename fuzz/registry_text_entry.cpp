// Registry file text: any bytes go to parseDocument; a document it accepts must
// survive formatDocument and a second parse unchanged, and formatting that
// again must give the very same text.
#include <string>
#include <string_view>

#include "fuzz/fuzz_entries.h"
#include "platform/formats/registry_format.h"

namespace horalia::fuzz {
namespace {

using platform::registry::Document;

bool sameDocument(const Document& a, const Document& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const auto& ka = a.keys[k];
        const auto& kb = b.keys[k];
        if (ka.path != kb.path || ka.values.size() != kb.values.size()) return false;
        for (std::size_t v = 0; v < ka.values.size(); ++v) {
            const auto& va = ka.values[v];
            const auto& vb = kb.values[v];
            if (va.name != vb.name || va.type != vb.type || va.data != vb.data) return false;
        }
    }
    return true;
}

}  // namespace

const char* registryText(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::optional<Document> document = platform::registry::parseDocument(text);
    if (!document) return nullptr;
    const std::string written = platform::registry::formatDocument(*document);
    if (written.empty()) return "formatDocument gave no text for a parsed document";
    const std::optional<Document> again = platform::registry::parseDocument(written);
    if (!again) return "the formatted text of a parsed document does not parse";
    if (!sameDocument(*document, *again)) return "the formatted text parses to a different document";
    if (platform::registry::formatDocument(*again) != written) return "formatting is not stable";
    return nullptr;
}

}  // namespace horalia::fuzz
