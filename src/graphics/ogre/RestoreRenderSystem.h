#pragma once

#include <string>

namespace Ogre {
class Root;
} // namespace Ogre

namespace wrappers {

// Makes the render system and options that the graphics-settings file at
// `path` names the root's, as the settings list wrote them. False, and every
// render system's options as they were, when there is no such file or it
// cannot be used: unreadable, naming a render system that is not loaded, or
// holding options the render system refuses. A file that cannot be used would
// keep every start from opening its window, so it is set aside as
// "<path>.bad" with a warning, and the next save writes a good one.
bool RestoreRenderSystem(Ogre::Root& root, const std::string& path);

} // namespace wrappers
