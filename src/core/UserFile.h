#pragma once

#include <functional>
#include <string>

#include "core/IResourceMgr.h"
#include "core/Node.h"

namespace sds {

// Reads a file the user keeps and may damage (the presets, the equipment, a
// force-function template) and hands its document element `element` to `use`,
// which throws when it cannot use it. A file on disk that is not readable XML,
// has another document element or is refused by `use` would stop every start
// until the user found and removed it: it is renamed "<path>.bad" (replacing
// an older one), a warning is logged, and the built-in copy is handed to `use`
// in its place when there is one. Returns the notice for the user, naming the
// file, what is wrong in it and what became of it; empty when the file was used.
// Throws what `use` or the reader throws when there is no file on disk (the
// built-in copy is the program's own).
std::string UseUserFile(IResourceMgr& resources, const std::string& path, const std::string& element,
                        const std::function<void(const xml::CNodePtr&)>& use);

// Removes the temporary copy an interrupted save left beside `file`, or, for
// `folder`, every one in it; each removal is logged.
void RemoveUnfinishedWrite(const std::string& file);
void RemoveUnfinishedWritesIn(const std::string& folder);

// "<path>.bad".
std::string SetAsidePath(const std::string& path);

} // namespace sds
