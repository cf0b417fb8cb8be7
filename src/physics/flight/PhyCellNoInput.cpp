#include "physics/flight/PhyCellNoInput.h"

#include <cmath>

#include "core/DataLog.h"
#include "physics/FlagNames.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/flight/BadCast.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/JointDesc.h"

namespace physics {

namespace {

sds::CVector Normalised(sds::CVector v)
{
    v.Normalize();
    return v;
}

} // namespace

CPhyCellNoInput::CBoostForce::CBoostForce(const xml::CNodePtr& node) : CForceAtLocalPos(node)
{
    m_Color = sds::CFourFloats{{1.0f, 1.0f, 0.0f, 1.0f}};
}

CPhyCellNoInput::CPhyCellNoInput(sdk::IActor& body, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                                 const xml::CNodePtr& lift, const xml::CNodePtr& drag, const xml::CNodePtr& svg,
                                 const CCellDesc& desc)
    : m_BaseTrim(lift->GetAttribute("Trim")->GetValue<float>()),
      m_ToggleDownLift(lift->GetAttribute<float>("ToggleDownLift", 1.0f)),
      m_Lift(lift, svg),
      m_Drag(drag),
      m_Boost(lift),
      m_Desc(desc),
      m_VelocityVector(lift)
{
    m_Drag.ScaleAreas(m_Desc.m_AreaScale);
    // The cell's up runs from the canopy's centre through the cell's drag point.
    const sds::CVector up =
        Normalised(actor->GetAttribute("Position")->GetValue<sds::CVector>() + m_Drag.GetPosition() - m_Desc.m_Center);
    m_Lift.SetUpDirection(up);

    const float trim = m_FrontRiserTrim + m_BaseTrim + m_RearRiserTrim;
    const sds::CQuaternion alignUp = sds::GetRotationTo(sds::CVector::UNIT_Y, {-std::sin(trim), up.y, up.z});
    const sds::CQuaternion halfTurn(0.0f, 1.0f, 0.0f, 0.0f);
    CreateCellActor(body, shape, actor, alignUp * halfTurn);

    sdk::CJointDesc joint(sdk::JOINT_FIXED);
    joint.m_Actors[0] = &body;
    joint.m_Actors[1] = GetActor();
    m_Joint = body.GetScene().CreateJoint(joint);
    m_World = CPhyMgr::GetSingleton()->GetSerial();
    if (!m_Joint || m_Joint->GetType() != sdk::JOINT_FIXED)
        throw CBadCast();
}

CPhyCellNoInput::~CPhyCellNoInput()
{
    // Left to the scene, the joint of every cell ever made would stay until the world goes.
    if (CPhyMgr* world = CPhyMgr::GetLiveWorld(m_World); world && m_Joint)
        world->GetScene().ReleaseJoint(*m_Joint);
}

void CPhyCellNoInput::CreateCellActor(sdk::IActor& body, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                                      const sds::CQuaternion& rotation)
{
    sdk::CShapeDesc box = sdk::CShapeDesc::Box(shape->GetAttribute("Dimensions")->GetValue<sds::CVector>() * 0.5f);
    box.m_LocalPosition = shape->GetAttribute("Position")->GetValue<sds::CVector>();
    box.m_LocalOrientation = rotation * shape->GetAttribute("Orientation")->GetValue<sds::CQuaternion>();
    box.m_Material = CPhyMgr::GetSingleton()->GetMaterialIndex(shape->GetAttribute("Material")->GetValue());

    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(box);
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = shape->GetAttribute("Mass")->GetValue<float>();
    desc.m_Body->m_Flags = 0;
    xml::ForEachChild(*actor, "BodyFlag", [&desc](const xml::CNodePtr& flag) {
        AddFlagByName(desc.m_Body->m_Flags, flag->GetAttribute("Name")->GetValue());
    });
    const sds::CQuaternion orientation = body.GetGlobalOrientation();
    desc.m_GlobalPosition =
        body.GetGlobalPosition() + orientation * actor->GetAttribute("Position")->GetValue<sds::CVector>();
    desc.m_GlobalOrientation = orientation;
    CreateActor(desc);

    sdk::IActor& created = *GetActor();
    created.SetLinearDamping(actor->GetAttribute("LinearDamping")->GetValue<float>());
    created.SetAngularDamping(actor->GetAttribute("AngularDamping")->GetValue<float>());
    created.SetLinearVelocity(actor->GetAttribute("InitialVelocity")->GetValue<sds::CVector>() +
                              body.GetLinearVelocity());
}

void CPhyCellNoInput::ApplyWind(IWindMgr& source)
{
    if (const sdk::IActor* actor = GetActor())
    {
        const sds::CVector wind = source.GetWind(actor->GetGlobalPosition());
        m_Lift.AddWind(wind);
        m_Drag.AddWind(wind);
    }
}

void CPhyCellNoInput::ApplyForces(sdk::IActor&)
{
    sdk::IActor* actor = GetActor();
    if (!actor)
        return;
    m_Lift.SetTrim(m_FrontRiserTrim + m_BaseTrim + m_RearRiserTrim);
    m_Lift.Apply(*actor, m_Desc.m_LiftScale);
    m_Drag.Apply(*actor, m_Desc.m_DragScale);
    m_VelocityVector.Apply(*actor, m_Desc.m_LiftScale);
}

void CPhyCellNoInput::DrawForces()
{
    sdk::IActor* actor = GetActor();
    if (!actor)
        return;
    m_Lift.Draw(*actor);
    m_Drag.Draw(*actor);
    m_VelocityVector.Draw(*actor);
    m_Boost.Draw(*actor);
}

void CPhyCellNoInput::LogData(sds::CDataLog& log, float time, int base, const std::string& prefix) const
{
    auto column = [&](int k, const char* suffix) -> std::string {
        return std::to_string(base + k) + "_" + prefix + suffix;
    };
    auto put = [&](int k, const char* suffix, float value) { log.SetCell(column(k, suffix), time, value); };
    auto zero = [&](int k, const char* suffix) { log.GetColumn(column(k, suffix)).SetValue(time, 0); };

    const sds::CVector& lift = m_Lift.GetForce();
    const sds::CVector& point = m_Lift.GetWorldPosition();
    const sdk::IActor* actor = GetActor();
    const sds::CVector velocity = actor ? actor->GetLinearVelocity() : sds::CVector::ZERO;
    put(0, "_Drag_Mag", m_Drag.GetForce().Length());
    put(1, "_Lift_x", lift.x);
    put(2, "_Lift_y", lift.y);
    put(3, "_Lift_z", lift.z);
    put(4, "_AngleOfAttack", m_Lift.GetAngleOfAttack());
    put(5, "_Lift_Coef", m_Lift.GetCoefficientCurve().GetLastValue());
    put(6, "_ToggleInput", GetRawToggle());
    put(7, "_x", point.x);
    put(8, "_y", point.y);
    put(9, "_z", point.z);
    zero(10, "_Thrust_x");
    zero(11, "_Thrust_y");
    zero(12, "_Thrust_z");
    zero(13, "_Thrust_coef");
    put(14, "_Velocity_x", velocity.x);
    put(15, "_Velocity_y", velocity.y);
    put(16, "_Velocity_z", velocity.z);
    put(17, "_FrontRiser", GetRawFrontRiser());
    put(18, "_RearRiser", GetRawRearRiser());
    put(19, "_Trim", m_Lift.GetTrim());
    zero(20, "_PressureSpeed");
}

} // namespace physics
