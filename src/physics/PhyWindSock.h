#pragma once

#include <memory>

#include "physics/PhyMovingBody.h"

namespace physics {

class IPhyRagDoll;

// A windsock: a rag doll with the bones "Tail" (the sock) and "Twist" (the ring
// that turns on the mast) driven by the wind. Every step each bone gets the
// windsock's drag and gravity, with the wind at the tail plus a noise that
// grows with the wind. When a breakable joint of the rag doll breaks the sock
// is torn: it is no longer driven and the ring comes off the mast.
//
// The rag doll belongs to whoever shows it; the windsock only follows it and
// does nothing once it is gone. The tail's actor stays the rag doll's: the
// windsock receives the tail's wind while it lives.
class CPhyWindSock : public CPhyMovingBody
{
public:
    // `config` is the physics configuration's "WindSock" element. Throws
    // std::runtime_error "Windsock ragdoll must have bone 'Tail'" (or 'Twist')
    // when the rag doll lacks one.
    CPhyWindSock(const xml::CNodePtr& config, const std::shared_ptr<IPhyRagDoll>& ragDoll);

    void Update(const sds::CTiming& timing) override;
    void ApplyWind(IWindMgr& source) override;
    void DrawForces() override;

    bool IsTorn() const { return m_Torn; }
    const sds::CVector& GetNoiseMaximum() const { return m_NoiseMaximum; }

private:
    // The rag doll while it and the tail's actor still exist; lets go of the
    // tail once they do not.
    std::shared_ptr<IPhyRagDoll> LockRagDoll();
    bool HasBrokenJoint(const IPhyRagDoll& ragDoll) const;
    void Tear();

    std::weak_ptr<IPhyRagDoll> m_RagDoll;
    std::weak_ptr<CPhyObj> m_Twist;
    bool m_Torn = false;
    sds::CVector m_NoiseMaximum;
};

} // namespace physics
