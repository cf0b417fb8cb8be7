#pragma once

#include <string>

#include "core/Vector.h"
#include "core/script/ScriptMgr.h"
#include "graphics/ICameraMotionController.h"

namespace sds {

class IEventMgr;
class IGfxMgr;

// Drives a script camera mode by a Lua script file with two global functions,
// "Initialize" (once, when the mode is chosen) and "Update" (every frame). The
// script runs in a Lua state of its own, kept across mode switches, and moves
// the camera through the global "Camera" (class "ICamera"); before each call
// it finds "Timing", "TrajectoryStart", "TrajectoryFinish", "JumperPos",
// "MousePosition" and "TargetPos" set.
//
// A script that fails (a Lua error, or a call that runs too long) is logged
// once and drives the camera no more until the mode is chosen again.
class CScriptCameraMotionController : public ICameraMotionController
{
public:
    // The loading method is the configuration's "ScriptMgr" "LoadingMethod".
    // The graphics manager tells where the level's things are, the event
    // manager where the mouse is; either may be null (zero vectors).
    CScriptCameraMotionController(const std::string& scriptFile, const std::string& loadingMethod,
                                  const IGfxMgr* gfxMgr, const IEventMgr* eventMgr);

    // Loads the script file again and calls its "Initialize".
    void Initialize(ICamera* camera) override;
    void Update(ICamera* camera, const CTiming& timing) override;

    bool HasFailed() const { return m_Failed; }
    CScriptMgr& GetScriptMgr() { return m_Script; }

private:
    void SetPositionGlobals();
    void Call(const char* function);
    void Fail(const std::string& error);

    CScriptMgr m_Script;
    std::string m_File;
    CVector m_MousePosition;
    const IGfxMgr* m_pGfxMgr;
    const IEventMgr* m_pEventMgr;
    bool m_Failed = false;
};

} // namespace sds
