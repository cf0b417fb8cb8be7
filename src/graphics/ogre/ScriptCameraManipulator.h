#pragma once

#include "graphics/ICameraMotionController.h"
#include "graphics/IGfxObj.h"
#include "graphics/ogre/FreeCameraManipulator.h"

namespace wrappers {

// camera_script1 to camera_script4: a motion controller moves the camera
// through its operations, starting from the origin with no turn.
class CScriptCameraManipulator : public CFreeCameraManipulator
{
public:
    CScriptCameraManipulator(COgreCamera& camera, sds::ICameraMotionController* controller,
                             const sds::CGfxObjPtr& target);

    void Update(const sds::CTiming& timing) override;
    void Release() override;

private:
    sds::ICameraMotionController* m_pController;
    sds::CGfxObjPtr m_Target;
};

} // namespace wrappers
