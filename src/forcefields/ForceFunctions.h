#pragma once

#include <string>

#include "core/Node.h"

namespace sds {
namespace DovuvUvozeVozediza {

// A force field's force comes from a Lua text in its "Function" child. The
// text is composed from templates: a force type ("ForceField": "Description",
// "Function" and the "Radius" handles "1" to "3", positioned relative to the
// field) and a timing ("ForceFieldTiming": "Description" and "Function").

// Deep-copies the children of the template file's "ForceFieldFunctions"
// element into the catalogue. The file is read through the resource manager.
// A file that cannot be read, has another document element or an entry
// without its "Name", "Description", "Function" (or a type without its three
// radius handles) adds nothing, is set aside as "<path>.bad" and the notice
// for the user is returned; empty when the file was added. A missing file
// throws.
std::string LoadTemplateFile(const std::string& path, const xml::CNodePtr& catalogue);

// Gives the field the type's and the timing's functions and descriptions, each
// pair joined by a line feed, and the type's radius handles.
void ApplyTemplate(const xml::CNodePtr& field, const xml::CNodePtr& type, const xml::CNodePtr& timing);

// Replaces the field's "Function" and "Description". With a type template, its
// "Radius" children replace the field's, moved by the field's shape position.
// Fails with xml::CNoNodeException for a type without "Radius" children or a
// field without "Shape" or one of the radii "1" to "3" (what was written stays).
void SetForceFunction(const xml::CNodePtr& field, const std::string& function, const std::string& description,
                      const xml::CNodePtr& type);

// Runs the function text once in a fresh sandboxed Lua state with fixed test
// values: "Update" with "Time" 1 and "DeltaTime" 0.1, then "CalculateForce"
// at 50 random points of the x axis between -150 and 150, all of it within
// the time a field's script has in a frame of flight. Returns the empty text
// when every call works, else what went wrong and why ("While loading
// script: ", "Error in Update(): " or "Error in CalculateForce(): " and the
// script's error or why it was stopped); never throws.
std::string CheckForceFunction(const std::string& function);

} // namespace DovuvUvozeVozediza
} // namespace sds
