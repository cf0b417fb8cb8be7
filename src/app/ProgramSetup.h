#pragma once

#include <string>

#include "core/Node.h"
#include "core/UserFile.h"

namespace sds {

// The main configuration, "../conf/conf.xml", read through the resource
// service: its "sds" element. Null only when the XML library cannot start; a
// file that cannot be read throws the reader's exception, a tree without
// "sds" the XML layer's.
xml::CNodePtr LoadConfiguration();

// "Path" of "Application"/"Settings".
std::string GetSettingsPath(const xml::CNodePtr& config);
// The "Settings" element of the file at `path`, or a new empty one when there
// is no such file. A file that cannot be read or has no "Settings" throws
// std::runtime_error "<path> exists but can not be loaded or has a wrong
// format, remove it, please". What an interrupted save left is removed first.
xml::CNodePtr LoadSettings(const std::string& path);
// Trims the values and writes the file, making its folder when it is missing;
// a failure is reported on standard error and in the log, and false.
bool SaveSettings(const std::string& path, const xml::CNodePtr& settings);

// "OpenGL" drops the "RenderSystem_Direct3D9" plug-in from "Application"/
// "GfxCfg", "DirectX" drops "RenderSystem_GL"; a plug-in is matched by its
// name or the file name at the end of its path. Anything else, or a plug-in
// that is not listed, changes nothing.
void ForceRenderer(const xml::CNodePtr& config, const std::string& renderer);

// The window icon of an edition: 109, 108, 107, or 102 for any other.
int GetEditionIcon(const std::string& edition);

} // namespace sds
