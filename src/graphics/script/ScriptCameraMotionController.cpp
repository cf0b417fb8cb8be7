#include "graphics/script/ScriptCameraMotionController.h"

#include <optional>
#include <utility>

extern "C" {
#include <lua.h>
}

#include <luabind/luabind.hpp>

#include "core/ILogMgr.h"
#include "core/services/IEventMgr.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"

namespace sds {

namespace {

// Scripts pass objects as they got them, or nil.
void AttachObject(ICamera& camera, IGfxObj* object)
{
    camera.Attach(CGfxObjPtr(object));
}

void UpdateCamera(ICamera& camera, const CTiming& timing)
{
    camera.Update(timing);
}

// Class "ICamera" with the operations a script may call, and the two opaque
// classes that cross through them.
void BindCamera(lua_State* state)
{
    using namespace luabind;
    module(state)[
        class_<IGfxObj, CGfxObjPtr>("IGfxObj"),
        class_<ICameraMotionController>("ICameraMotionController"),
        class_<ICamera>("ICamera")
            .def("IsMovingIn", &ICamera::IsMovingIn)
            .def("SetMovingIn", &ICamera::SetMovingIn)
            .def("IsMoving", &ICamera::IsMoving)
            .def("IsSlowMovement", &ICamera::IsSlowMovement)
            .def("SetSlowMovement", &ICamera::SetSlowMovement)
            .def("IsAcceleratedMovement", &ICamera::IsAcceleratedMovement)
            .def("SetAcceleratedMovement", &ICamera::SetAcceleratedMovement)
            .def("GetAcceleration", &ICamera::GetAcceleration)
            .def("SetAcceleration", &ICamera::SetAcceleration)
            .def("GetAccelerationInc", &ICamera::GetAccelerationInc)
            .def("SetAccelerationInc", &ICamera::SetAccelerationInc)
            .def("GetMouseScale", &ICamera::GetMouseScale)
            .def("SetMouseScale", &ICamera::SetMouseScale)
            .def("GetMoveScale", &ICamera::GetMoveScale)
            .def("SetMoveScale", &ICamera::SetMoveScale)
            .def("IsInvertFreeY", &ICamera::IsInvertFreeY)
            .def("SetInvertFreeY", &ICamera::SetInvertFreeY)
            .def("GetRotX", &ICamera::GetRotX)
            .def("SetRotX", &ICamera::SetRotX)
            .def("GetRotY", &ICamera::GetRotY)
            .def("SetRotY", &ICamera::SetRotY)
            .def("GetTotalRotX", &ICamera::GetTotalRotX)
            .def("SetTotalRotX", &ICamera::SetTotalRotX)
            .def("GetTotalRotY", &ICamera::GetTotalRotY)
            .def("SetTotalRotY", &ICamera::SetTotalRotY)
            .def("SetMotionController", &ICamera::SetMotionController)
            .def("ResetMotionController", &ICamera::ResetMotionController)
            .def("Update", &UpdateCamera)
            .def("GetMode", &ICamera::GetMode)
            .def("SetMode", &ICamera::SetMode)
            .def("SetProjection", &ICamera::SetProjection)
            .def("SetNearClipDistance", &ICamera::SetNearClipDistance)
            .def("GetNearClipDistance", &ICamera::GetNearClipDistance)
            .def("SetWorldUpDown", &ICamera::SetWorldUpDown)
            .def("IsWorldUpDown", &ICamera::IsWorldUpDown)
            .def("IsAttached", &ICamera::IsAttached)
            .def("Attach", &AttachObject)
            .def("GetAttached", &ICamera::GetAttached)
            .def("EnableInput", &ICamera::EnableInput)
            .def("DisableInput", &ICamera::DisableInput)
            .def("SetPos", &ICamera::SetPos)
            .def("GetPos", &ICamera::GetPos)
            .def("GetRot", &ICamera::GetRot)
            .def("GetDir", &ICamera::GetDir)
            .def("GetOrientation", &ICamera::GetOrientation)
            .def("GetHorizontalOrientation", &ICamera::GetHorizontalOrientation)
            .def("LookAt", &ICamera::LookAt)
            .def("FindObjUnderCursor", &ICamera::FindObjUnderCursor)
            .def("Shake", &ICamera::Shake)
            .def("GetWorldSpaceCorner", &ICamera::GetWorldSpaceCorner)
            .def("GetPrevModeLastPos", &ICamera::GetPrevModeLastPos)
            .def("GetPrevModeLastOrientation", &ICamera::GetPrevModeLastOrientation)
            .def("ViewportPosToWorldPos", &ICamera::ViewportPosToWorldPos)
            .enum_("constants")[
                value("MOVING_UP", ICamera::MOVING_UP),
                value("MOVING_DOWN", ICamera::MOVING_DOWN),
                value("MOVING_LEFT", ICamera::MOVING_LEFT),
                value("MOVING_RIGHT", ICamera::MOVING_RIGHT),
                value("MOVING_FORWARD", ICamera::MOVING_FORWARD),
                value("MOVING_BACKWARDS", ICamera::MOVING_BACKWARDS),
                value("CAMERA_HORIZONTAL_FORWARD", ICamera::CAMERA_HORIZONTAL_FORWARD),
                value("CAMERA_HORIZONTAL_BACK", ICamera::CAMERA_HORIZONTAL_BACK),
                value("MOVING_MAX", ICamera::MOVING_MAX),
                value("TOP_RIGHT_NEAR", ICamera::TOP_RIGHT_NEAR),
                value("TOP_LEFT_NEAR", ICamera::TOP_LEFT_NEAR),
                value("BOTTOM_LEFT_NEAR", ICamera::BOTTOM_LEFT_NEAR),
                value("BOTTOM_RIGHT_NEAR", ICamera::BOTTOM_RIGHT_NEAR),
                value("TOP_RIGHT_FAR", ICamera::TOP_RIGHT_FAR),
                value("TOP_LEFT_FAR", ICamera::TOP_LEFT_FAR),
                value("BOTTOM_LEFT_FAR", ICamera::BOTTOM_LEFT_FAR),
                value("BOTTOM_RIGHT_FAR", ICamera::BOTTOM_RIGHT_FAR),
                value("CORNERS_MAX", ICamera::CORNERS_MAX)
            ]
    ];
}

// Lua's message for a failed call, taken off the stack, then the binding's own words.
std::string CallError(lua_State* state, const luabind::error& e)
{
    std::string message;
    if (lua_gettop(state) > 0 && lua_isstring(state, -1)) {
        message = lua_tostring(state, -1);
        lua_pop(state, 1);
    }
    return message + "; " + e.what();
}

} // namespace

CScriptCameraMotionController::CScriptCameraMotionController(const std::string& scriptFile,
                                                             const std::string& loadingMethod, const IGfxMgr* gfxMgr,
                                                             const IEventMgr* eventMgr)
    : m_Script(loadingMethod), m_File(scriptFile), m_pGfxMgr(gfxMgr), m_pEventMgr(eventMgr)
{
    BindCamera(m_Script.GetState());
}

void CScriptCameraMotionController::Initialize(ICamera* camera)
{
    m_Failed = false;
    try {
        m_Script.LoadScript(m_File);
    } catch (const std::exception& e) {
        Fail(e.what());
        return;
    } catch (...) {
        m_Failed = true;
        if (ILogMgr* log = ILogMgr::GetSingleton())
            log->LogError("Could not run script: " + m_File);
        return;
    }
    luabind::globals(m_Script.GetState())["Camera"] = camera;
    SetPositionGlobals();
    Call("Initialize");
}

void CScriptCameraMotionController::Update(ICamera* camera, const CTiming& timing)
{
    if (m_Failed)
        return;
    luabind::object globals = luabind::globals(m_Script.GetState());
    globals["Camera"] = camera;
    globals["Timing"] = timing;
    SetPositionGlobals();
    Call("Update");
}

void CScriptCameraMotionController::SetPositionGlobals()
{
    std::optional<std::pair<CVector, CVector>> trajectory;
    std::optional<CVector> jumper;
    std::optional<CVector> target;
    if (m_pGfxMgr) {
        for (const CLevelPositionsPtr& positions : m_pGfxMgr->GetLevelPositions()) {
            if (!trajectory)
                trajectory = positions->GetTrajectory();
            if (!jumper)
                jumper = positions->GetJumperPos();
            if (!target)
                target = positions->GetTargetPos();
        }
    }
    // A trajectory on show wins: the jumper is taken to stand at its finish.
    CVector start, finish;
    if (trajectory) {
        start = trajectory->first;
        finish = trajectory->second;
    } else if (jumper) {
        start = finish = *jumper;
    }
    m_Script.SetGlobalVector("TrajectoryStart", start);
    m_Script.SetGlobalVector("TrajectoryFinish", finish);
    m_Script.SetGlobalVector("JumperPos", finish);
    if (m_pEventMgr)
        m_MousePosition = m_pEventMgr->GetMousePosition();
    m_Script.SetGlobalVector("MousePosition", m_MousePosition);
    m_Script.SetGlobalVector("TargetPos", target.value_or(CVector::ZERO));
}

void CScriptCameraMotionController::Call(const char* function)
{
    lua_State* state = m_Script.GetState();
    const int base = lua_gettop(state);
    try {
        luabind::call_function<void>(state, function);
    } catch (const luabind::error& e) {
        Fail(CallError(state, e));
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    lua_settop(state, base);
}

void CScriptCameraMotionController::Fail(const std::string& error)
{
    if (m_Failed)
        return;
    m_Failed = true;
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogError("Could not run script: " + m_File + ". Error: " + error);
}

} // namespace sds
