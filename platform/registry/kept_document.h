// The stored registry text as last read or written and the document parsed
// from it, kept so that a registry call parses again only when the text
// changed. Each storage (the desktop's file, the browser's local storage)
// keeps one.
#pragma once

#include <string>

#include "platform/formats/registry_model.h"

namespace platform::registry {

struct KeptDocument {
    bool valid = false;
    std::string text;
    Document document;

    // Nothing is stored: an empty document, and the next load reads again.
    Document* nothingStored() {
        valid = false;
        document = Document{};
        return &document;
    }
};

}  // namespace platform::registry
