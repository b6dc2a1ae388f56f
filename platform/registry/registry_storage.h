// The registry file on disk: read whole and kept parsed until the file on
// disk changes, moved aside when damaged or too large, and replaced whole and
// durably on every change.
#pragma once

#include "platform/formats/registry_model.h"

namespace platform::registry {

// The registry as the file holds it now: empty when there is no file yet, or
// when the file was damaged or over 2 MiB (it is then kept beside, under a new
// name ending in ".damaged-YYYYMMDD-HHMMSS"); null when the file cannot be
// read. The file is read again only when its device, inode, size or times
// changed. The document stays valid until the next load or save; a caller may
// change it and must then save it.
Document* loadDocument();

// Replaces the file with the document: a temporary file in the same folder,
// flushed to disk, renamed over the old one, then the folder flushed. Either
// the old or the new file survives a crash at any moment. False on failure.
bool saveDocument(const Document& document);

}  // namespace platform::registry
