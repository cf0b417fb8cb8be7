#pragma once

#include <memory>
#include <vector>

#include "core/Node.h"
#include "physics/PhyMovingBody.h"
#include "physics/PhyObj.h"
#include "physics/flight/ISyncObj.h"

namespace physics {

class CPhyRagDoll;

// The pilot chute and its bridle: a rag doll that, while active, hangs from the
// canopy by a ball joint and is moved by its own drag and gravity; while stowed
// it is parked rigid and out of the way, ready to take the canopy's place and
// speed when it is activated again. With a proxy it hangs from a kinematic copy
// of the canopy's actor, so that it never pulls the canopy about.
class CPhyPilotChute : public CPhyMovingBody
{
public:
    // `element` is the "PilotChute" element: its "ForceGravity" and "ForceDrag"
    // named "PilotChute", "PCBone" (the bone the forces act on) and the
    // "LimitPlane" named "Canopy". The proxy's contacts with `ignored` are
    // ignored. Starts stowed. Throws xml::CNoNodeException for a missing key and
    // CPhyException for a proxy of an actor whose first shape is not a box.
    CPhyPilotChute(const std::shared_ptr<CPhyRagDoll>& ragDoll, sdk::IActor& hangFrom,
                   const std::vector<const CPhyObj*>& ignored, const xml::CNodePtr& element, bool proxy);
    ~CPhyPilotChute() override;

    // Hangs the pilot chute from its leader, where it is parked, moving as the
    // leader does; again while active, with a new joint.
    void Activate();
    // Stows it.
    void Deactivate();
    // One physics step of its synchronisers.
    void Sync();

    const std::shared_ptr<CPhyRagDoll>& GetRagDoll() const { return m_RagDoll; }
    // The actor it hangs from: the proxy's, or the one it was given.
    sdk::IActor& GetLeader() const { return *m_Leader; }
    bool IsActive() const { return m_BallJointSync != nullptr; }
    // The proxy; without an actor when none was asked for.
    const CPhyObj& GetProxy() const { return m_Proxy; }

private:
    void BuildProxy(sdk::IActor& original);

    std::shared_ptr<CPhyRagDoll> m_RagDoll;
    std::shared_ptr<sds::ISyncObj> m_StowSync;
    std::shared_ptr<sds::ISyncObj> m_BallJointSync;
    sdk::IActor* m_Leader;
    std::shared_ptr<CPhyObj> m_PCBone;
    xml::CNodePtr m_LimitPlane;
    CPhyObj m_Proxy;
    std::shared_ptr<sds::ISyncObj> m_ProxySync;
};

} // namespace physics
