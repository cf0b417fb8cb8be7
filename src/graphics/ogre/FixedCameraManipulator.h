#pragma once

#include "graphics/IGfxObj.h"
#include "graphics/ogre/FreeCameraManipulator.h"

namespace wrappers {

// camera_fixed: the camera stays where it stands and turns to keep the
// target in view.
class CFixedCameraManipulator : public CFreeCameraManipulator
{
public:
    CFixedCameraManipulator(COgreCamera& camera, const sds::CGfxObjPtr& target);

    void Update(const sds::CTiming& timing) override;
    void Release() override;

private:
    sds::CGfxObjPtr m_Target;
};

} // namespace wrappers
