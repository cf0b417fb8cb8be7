#pragma once

#include <memory>
#include <vector>

#include "core/Node.h"
#include "physics/PhyMovingBody.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/flight/PhyJumperState.h"

namespace physics {

class CPhyCell;
class CPhyRagDoll;

namespace PhyJumperStates {

// The jumper under the open canopy: the jumper's box with its weight and drag,
// and the canopy's cells fixed to it, which carry it by their lift and drag.
// The canopy model and the input conversion are chosen by name in the "State"
// named "CanopyRide".
class CCanopyRideState : public ICanopyRideState, public CPhyJumperState, public CPhyMovingBody
{
public:
    // Builds the body at that pose, the cells of the model and, with a pilot
    // chute's rag doll, the pilot chute hanging from the canopy. Throws the XML
    // layer's exceptions for what the configuration lacks, sds::CException for a
    // "Sw" that is not a positive number, and the resource manager's for a
    // curve file that is neither on disk nor embedded.
    CCanopyRideState(CPhyJumper* owner, const xml::CNodePtr& phyJumper, const std::shared_ptr<CPhyRagDoll>& pilotChute,
                     const sds::CQuaternion& orientation, const sds::CVector& position);
    ~CCanopyRideState() override;

    // A cell of both sides takes the mean of the left and the right pull.
    void SetLeftToggle(float pull) override { SetPull(TOGGLE, LEFT, pull); }
    void SetRightToggle(float pull) override { SetPull(TOGGLE, RIGHT, pull); }
    void SetLeftRearRiser(float pull) override { SetPull(REAR_RISER, LEFT, pull); }
    void SetRightRearRiser(float pull) override { SetPull(REAR_RISER, RIGHT, pull); }
    void SetLeftFrontRiser(float pull) override { SetPull(FRONT_RISER, LEFT, pull); }
    void SetRightFrontRiser(float pull) override { SetPull(FRONT_RISER, RIGHT, pull); }
    sds::CVector GetCanopyPos() const override;
    sds::CQuaternion GetCanopyOrientation() const override;
    std::shared_ptr<CPhyPilotChute> GetPilotChute() const override { return m_PilotChute; }

    void OnUpdate(const sds::CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    float GetBodyDragMagnitude() const override { return m_Drag.GetForce().Length(); }
    // "_Reserved" at `column` + 1, the left cell's columns from `column` + 10, the right cell's from `column` + 40.
    void LogData(float time, int column) override;
    CPhyObj* GetBody() override { return this; }
    void DrawForces() override;
    // With a pilot chute the body takes the callback, without one the cells do.
    void SetCollisionCallback(const CPhyObj::CCollisionCallback& callback) override;
    void Sync() override;

    float GetWingArea() const { return m_WingArea; }
    sdk::IActor* GetCanopyActor() const { return m_CanopyActor; }
    // Gives the pilot chute, the body and every cell that world velocity.
    void SetLinearVelocity(const sds::CVector& velocity);
    // The canopy's glide through the air for this body where it is now, in the
    // canopy's frame: the body's "InitialVelocity", given for the wing loading
    // "WingLoading" (kg/m², weight over canopy size) in the air at height 0,
    // scaled by the square root of this body's loading over it and of the air's
    // density at height 0 over the density where the body is. Without
    // "WingLoading", "InitialVelocity" as it is.
    sds::CVector GetGlideVelocity() const;
    // Gives every part the glide along the canopy's heading (`level`) or turned
    // as the canopy is, carried by the wind where the body is.
    void StartGliding(bool level);

    const std::vector<std::shared_ptr<CPhyCell>>& GetCells() const { return m_Cells; }
    const std::vector<std::shared_ptr<CPhyCell>>& GetLeftCells() const { return m_LeftCells; }
    const std::vector<std::shared_ptr<CPhyCell>>& GetRightCells() const { return m_RightCells; }

private:
    enum EControl
    {
        TOGGLE,
        REAR_RISER,
        FRONT_RISER,
        CONTROL_COUNT
    };
    enum ESide
    {
        LEFT,
        RIGHT
    };

    void SetPull(EControl control, ESide side, float pull);
    // Takes the share of the step's "PitchDamping" off the body's and the
    // cells' swinging fore and aft together, about their centre of mass.
    void DampPitch(float elapsed);
    void BuildBody(const xml::CNodePtr& phyJumper, const sds::CQuaternion& orientation, const sds::CVector& position);
    void BuildCells(const xml::CNodePtr& phyJumper);
    // From now on the body and its cells move as one with the owner's current body.
    void FollowCurrentBodyWithCells();
    void EnableCellCollision(bool enable);
    // The cells whose columns the data log gets.
    const CPhyCell& GetLoggedLeftCell() const;
    const CPhyCell& GetLoggedRightCell() const;

    std::vector<std::shared_ptr<CPhyCell>> m_Cells;
    std::vector<std::shared_ptr<CPhyCell>> m_LeftCells;
    std::vector<std::shared_ptr<CPhyCell>> m_RightCells;
    sdk::IActor* m_CanopyActor = nullptr;
    std::shared_ptr<CPhyPilotChute> m_PilotChute;
    sds::CVector m_CanopyOffset;
    sds::CVector m_Glide;       // "InitialVelocity", in the canopy's frame
    float m_GlideLoading = 0.0f; // kg/m²; 0: none given
    float m_WingArea = 0.0f;
    float m_PitchDamping = 0.0f; // per second
    float m_Pulls[CONTROL_COUNT][2] = {};
};

} // namespace PhyJumperStates
} // namespace physics
