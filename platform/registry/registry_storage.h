// The registry file on disk: read whole, moved aside when damaged, and
// replaced whole and durably on every change.
#pragma once

#include <optional>

#include "platform/registry/registry_model.h"

namespace platform::registry {

// The registry as the file holds it now: empty when there is no file yet, or
// when the file was damaged (it is then kept beside, under a new name ending
// in ".damaged-YYYYMMDD-HHMMSS"). nullopt when the file cannot be read.
std::optional<Document> loadDocument();

// Replaces the file with the document: a temporary file in the same folder,
// flushed to disk, renamed over the old one, then the folder flushed. Either
// the old or the new file survives a crash at any moment. False on failure.
bool saveDocument(const Document& document);

}  // namespace platform::registry
