#pragma once

#include <string>

#include "core/Node.h"
#include "core/Vector.h"

namespace sds {
namespace DovuvUvozeVozediza {

// A force-field scene is one XML file, document element "scene": the jump's
// "Preset" (start, camera and the force fields as wind "Region"s), the
// "Target"s and the "BoundingBox" identified "Boundaries" that the jumper may
// fly in. Scenes are flown in the plane z = 0, x across and y up.

// The scene last started from the editor: "LastEdit" in the drop-zone folder.
extern const char* const LAST_EDIT_NAME;
extern const char* const LAST_EDIT_FULL_NAME;
// The identifier attributes of the scene's named elements.
extern const char* const ID_NAMES;

// A new force field under the "Wind" element: a "Region" whose "Shape" is at
// the position with the identity orientation and a size of 100 in every
// direction, marked "JustCreated" until its edit dialog confirms it.
xml::CNodePtr AddRegionNode(const xml::CNodePtr& wind, const CVector& position);

// The "BoundingBox" identified "Boundaries".
xml::CNodePtr GetBoundaries(const xml::CNodePtr& scene);

// Grows the boundaries around the jumper's start and the first target; a side
// that either of them lies on (within 0.1 in x or y) moves out by four times
// the boundary mesh's "Scale". The scene keeps the new corners.
void FitBoundingBox(const xml::CNodePtr& scene);

// Writes a copy of the scene to the file: without the jump's "Info" rows,
// every text trimmed, "FullName" replaced. False when the file could not be
// written (the XML layer reports why); a scene without "Preset" or "FullName"
// throws xml::CNoNodeException before anything is written.
bool SaveScene(const xml::CNodePtr& scene, const std::string& fileName, const std::string& fullName);

// Why the scene cannot be flown (`toFly`) or edited, in the user's words;
// empty when it can. Every place, size, orientation and corner in it must be
// a finite number: "nan" or "inf" would be flown and drawn as if it were one.
// A flight needs a "Target" with a "Position" to aim at; the editor can add one.
std::string RefuseScene(const xml::CNode& scene, bool toFly);

// Whether `child` is still among the children of `parent`.
bool IsChildOf(const xml::CNode& parent, const xml::CNodePtr& child);

} // namespace DovuvUvozeVozediza
} // namespace sds
