#include "physics/flight/JumperFixture.h"

#include <cmath>
#include <functional>

#include "physics/PhyRagDoll.h"
#include "physics/flight/CanopyRideState.h"
#include "physics/flight/LandingState.h"

using physics::CPhyJumper;
using physics::CPhyRagDoll;
using sds::CVector;

namespace {

// Every actor of the rag doll, where it is.
std::vector<CVector> Positions(const CPhyRagDoll& doll)
{
    std::vector<CVector> positions;
    for (std::uint16_t i = 0; i < doll.GetActorCount(); ++i)
        positions.push_back(doll.GetBone(doll.GetActorName(i))->GetActor()->GetGlobalPosition());
    return positions;
}

class JumpTest : public JumperTest
{
protected:
    // Steps with checks that nothing turns non-finite.
    void Fly(CPhyJumper& jumper, int steps)
    {
        for (int i = 0; i < steps; ++i)
        {
            Steps(1);
            ASSERT_TRUE(jumper.GetPos().IsFinite()) << "step " << i;
            ASSERT_TRUE(jumper.GetVelocity().IsFinite()) << "step " << i;
            ASSERT_TRUE(std::isfinite(jumper.GetOrientation().Norm())) << "step " << i;
        }
    }

    // The switch hands over where the jumper is and as fast as it moves; the
    // opening's end, into the canopy ride, gliding as fast as the canopy does.
    void Switch(CPhyJumper& jumper, void (CPhyJumper::*to)(), const char* phase)
    {
        const CVector position = jumper.GetPos();
        const CVector velocity = jumper.GetVelocity();
        const bool opening = jumper.IsInDeploymentState();
        (jumper.*to)();
        EXPECT_LT((jumper.GetPos() - position).Length(), 0.01f) << phase;
        const float speed = opening ? jumper.GetCanopyRide().GetGlideVelocity().Length() : velocity.Length();
        EXPECT_NEAR(speed, jumper.GetVelocity().Length(), 0.1f) << phase;
        if (!opening)
            EXPECT_LT((jumper.GetVelocity() - velocity).Length(), 0.1f) << phase;
    }
};

} // namespace

TEST_F(JumpTest, AShortJumpHandsOverFromPhaseToPhaseWithoutAJump)
{
    CPhyJumper& jumper = Make();
    physics::PhyJumperStates::CLandingState& landing = jumper.GetLanding();
    const std::vector<CVector> canopyParked = Positions(*landing.GetCanopyRagDoll());
    const std::vector<CVector> jumperParked = Positions(*landing.GetJumperRagDoll());

    jumper.SwitchToExitState();
    jumper.GetExitState()->SetPos({0, 1000, 0});
    jumper.GetExitState()->SetVelocity({30, 0, 0});
    Fly(jumper, 30);
    Switch(jumper, &CPhyJumper::SwitchToFreeFallState, "free fall");
    Fly(jumper, 180);
    Switch(jumper, &CPhyJumper::SwitchToDeploymentState, "deployment");
    for (int stage = 0; stage < 3; ++stage)
    {
        Fly(jumper, 40);
        jumper.GetDeploymentState()->NextStage();
    }
    Fly(jumper, 120);
    Switch(jumper, &CPhyJumper::SwitchToCanopyRideState, "canopy ride");
    Fly(jumper, 300);

    // The landing's rag dolls waited where they were made all jump long.
    const std::vector<CVector> canopyNow = Positions(*landing.GetCanopyRagDoll());
    const std::vector<CVector> jumperNow = Positions(*landing.GetJumperRagDoll());
    for (std::size_t i = 0; i < canopyNow.size(); ++i)
        EXPECT_LT((canopyNow[i] - canopyParked[i]).Length(), 1e-3f) << i;
    for (std::size_t i = 0; i < jumperNow.size(); ++i)
        EXPECT_LT((jumperNow[i] - jumperParked[i]).Length(), 1e-3f) << i;

    jumper.GetLandingState()->SetLandingMode(1);
    Switch(jumper, &CPhyJumper::SwitchToLandingState, "landing");
    Fly(jumper, 60);
    EXPECT_TRUE(m_Errors.empty()) << m_Errors.front();
}
