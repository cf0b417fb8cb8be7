#pragma once

#include <memory>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"

namespace physics {
class IWindMgr;
}

namespace sds {
namespace DovuvUvozeVozediza {

class IEditorSimObj;

// The loaded level as the force-field editor needs it. The game mode answers
// it while a level is loaded (CEditor::SetLevel).
class IEditorLevel
{
public:
    virtual ~IEditorLevel() = default;
    // The working tree of the current drop zone: "XmlFile" with its "scene".
    virtual xml::CNodePtr GetSceneTree() const = 0;
    // Set while the editor runs; the level is then loaded without a jumper.
    virtual void SetEditFlag(bool editing) = 0;
    // The wind of the level's physics world; its regions are the force fields.
    virtual physics::IWindMgr& GetWindMgr() = 0;
    // The level's simulated object nearest to the point; null when it has none.
    virtual std::shared_ptr<IEditorSimObj> GetNearestSimObj(const CVector& point) = 0;
    // The paused game mode's frame under the editor: its level mods and the
    // camera keep running, the physics world keeps stepping.
    virtual void OnUpdate(const CTiming& timing) = 0;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
