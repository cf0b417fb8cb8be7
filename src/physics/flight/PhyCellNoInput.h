#pragma once

#include <cstdint>
#include <string>

#include "core/Node.h"
#include "physics/ForceAtLocalPos.h"
#include "physics/PhyObj.h"
#include "physics/flight/CanopyDragForce.h"
#include "physics/flight/LiftForce.h"
#include "physics/flight/VelocityVector.h"

namespace sds {
class CDataLog;
}

namespace physics {

namespace sdk {
class IJoint;
}

// Where a cell sits and how much of the canopy's forces it carries.
struct CCellDesc
{
    sds::CVector m_Center; // in the body's frame: the cell's up points away from it
    float m_LiftScale = 1.0f;
    float m_DragScale = 1.0f;
    // The canopy's area over the area its drag's areas are given for.
    float m_AreaScale = 1.0f;
    bool m_CenterCell = false;
};

// One cell of the canopy: a box fixed to the jumper's body, carrying its lift
// and drag (and two markers that are only drawn: its velocity and its boost).
// The cell's forces carry the body through the joint.
class CPhyCellNoInput : public CPhyObj
{
public:
    // The marker of the cell's boost, drawn yellow; it never pushes.
    class CBoostForce : public CForceAtLocalPos
    {
    public:
        explicit CBoostForce(const xml::CNodePtr& node);
    };

    // Makes the cell's actor beside `body` from "Shape" and "Actor" and fixes it
    // there: "lift" is the "ForceLift" element, "drag" the "ForceDrag" element.
    // Throws the XML layer's exceptions for missing keys, CException from the
    // curves, CPhyException when the scene refuses the actor and a bad cast
    // when it does not make a fixed joint.
    CPhyCellNoInput(sdk::IActor& body, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                    const xml::CNodePtr& lift, const xml::CNodePtr& drag, const xml::CNodePtr& svg,
                    const CCellDesc& desc);
    ~CPhyCellNoInput() override;

    // Adds the wind where the cell is to the air its lift and drag meet.
    void ApplyWind(IWindMgr& source) override;
    // One step of the cell's lift and drag, on the cell's own actor.
    virtual void ApplyForces(sdk::IActor& actor);
    void DrawForces();
    // Writes the cell's 21 columns: base + k, "_", `prefix` and each name.
    void LogData(sds::CDataLog& log, float time, int base, const std::string& prefix) const;

    CLiftForce& GetLift() { return m_Lift; }
    const CLiftForce& GetLift() const { return m_Lift; }
    CCanopyDragForce& GetDrag() { return m_Drag; }
    const CCanopyDragForce& GetDrag() const { return m_Drag; }
    const CVelocityVector& GetVelocityVector() const { return m_VelocityVector; }
    const CBoostForce& GetBoost() const { return m_Boost; }
    sdk::IJoint& GetJoint() const { return *m_Joint; }
    float GetBaseTrim() const { return m_BaseTrim; }
    float GetFrontRiserTrim() const { return m_FrontRiserTrim; }
    float GetRearRiserTrim() const { return m_RearRiserTrim; }
    // The lift's factor with the toggle fully down.
    float GetToggleDownLift() const { return m_ToggleDownLift; }
    const CCellDesc& GetDesc() const { return m_Desc; }
    bool IsCenterCell() const { return m_Desc.m_CenterCell; }

protected:
    // The raw inputs, as handed in; 0 for a cell without inputs.
    virtual float GetRawToggle() const { return 0.0f; }
    virtual float GetRawFrontRiser() const { return 0.0f; }
    virtual float GetRawRearRiser() const { return 0.0f; }

    float m_RearRiserTrim = 0.0f;
    float m_FrontRiserTrim = 0.0f;

private:
    void CreateCellActor(sdk::IActor& body, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                         const sds::CQuaternion& rotation);

    sdk::IJoint* m_Joint = nullptr;
    std::uint64_t m_World = 0; // the serial of the world the joint is in
    float m_BaseTrim;
    float m_ToggleDownLift;
    CLiftForce m_Lift;
    CCanopyDragForce m_Drag;
    CBoostForce m_Boost;
    CCellDesc m_Desc;
    CVelocityVector m_VelocityVector;
};

} // namespace physics
