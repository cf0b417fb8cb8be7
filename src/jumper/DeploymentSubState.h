#pragma once

#include <cmath>
#include <functional>
#include <memory>

#include "core/StateMachineTmpl.h"
#include "core/Vector.h"
#include "graphics/IGfxObj.h"

namespace sds::JumperStates {

class CDeploymentControl;

// A stage of the deployment; the control runs one at a time.
class CDeploymentSubState : public IStateTmpl<CDeploymentControl>
{
public:
    explicit CDeploymentSubState(CDeploymentControl* control) : IStateTmpl<CDeploymentControl>(control) {}
    void Enter() override {}
    void Exit() override {}
    void Pause() override {}
    void Resume() override {}
};

typedef std::shared_ptr<CDeploymentSubState> CDeploymentSubStatePtr;

// A stage that ends when the distance of two objects passes a threshold
// (strictly; equal or undefined never does): on to the next stage, or, for the
// last, the control is left empty. Derived stages run the test last.
template <class Compare>
class CDistanceDelay : public CDeploymentSubState
{
public:
    CDistanceDelay(CDeploymentControl* control, float threshold, const CGfxObjPtr& first, const CGfxObjPtr& second,
                   const CDeploymentSubStatePtr& next)
        : CDeploymentSubState(control), m_Threshold(threshold), m_First(first), m_Second(second), m_Next(next)
    {
    }

    void OnUpdate(const CTiming&) override;

protected:
    float m_Threshold;
    CGfxObjPtr m_First;
    CGfxObjPtr m_Second;
    CDeploymentSubStatePtr m_Next;
};

// The unit vector of `v`; the zero vector stays zero.
inline CVector Normalised(CVector v)
{
    v.Normalize();
    return v;
}

// Where `from` points at `to` along the world vertical only; a piece level with
// `from` (a rig that has not moved yet) goes straight up.
inline CVector VerticalDirection(const CVector& from, const CVector& to)
{
    const CVector u = Normalised(to - from);
    if (std::fabs(u.y) < 1e-4f)
        return CVector(0.0f, 1.0f, 0.0f);
    return CVector(0.0f, u.y, 0.0f);
}

} // namespace sds::JumperStates

#include "jumper/DeploymentControl.h"

namespace sds::JumperStates {

template <class Compare>
void CDistanceDelay<Compare>::OnUpdate(const CTiming&)
{
    const float distance = (m_First->GetWorldPos() - m_Second->GetWorldPos()).Length();
    if (!Compare()(distance, m_Threshold))
        return;
    if (m_Next)
        m_Owner->ChangeState(m_Next.get());
    else
        m_Owner->PopState();
}

} // namespace sds::JumperStates
