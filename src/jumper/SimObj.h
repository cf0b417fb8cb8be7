#pragma once

#include <memory>

#include "jumper/VisObj.h"

namespace physics {
class IPhyObj;
}

namespace sds {

// A graphic object kept at the pose of a physical body, or, while the editor
// drags it, the body kept at the graphic object's pose. The body's pose is a
// world pose and is copied as the graphic object's local one, so the graphic
// object hangs directly under the scene's root.
class CSimObj : public CVisObj
{
public:
    // The graphic object starts at the body's pose.
    CSimObj(const CGfxObjPtr& gfxObj, const std::shared_ptr<physics::IPhyObj>& phyObj);
    // The body goes before the graphic object.
    ~CSimObj() override;

    // Brings the follower to the leader's pose, then the graphic object's own update.
    void Update(const CTiming& timing) override;
    virtual std::shared_ptr<physics::IPhyObj> GetSimObj() const { return m_PhyObj; }
    // True: the body follows the graphic object from the next update on.
    virtual void SetGfxDriven(bool gfxDriven) { m_GfxDriven = gfxDriven; }
    bool IsGfxDriven() const { return m_GfxDriven; }

    void SyncTransform();

private:
    std::shared_ptr<physics::IPhyObj> m_PhyObj;
    bool m_GfxDriven = false;
};

} // namespace sds
