#pragma once

#include "graphics/IGfxObj.h"
#include "graphics/ogre/RotationCameraManipulator.h"

namespace wrappers {

// camera_3dperspective: the camera rides on the target's own node, looking
// where the configured look direction points, and the mouse turns the head
// within the configured limits.
class CFPSCameraManipulator : public CRotationCameraManipulator
{
public:
    // The target must be an object of the rendering layer with a scene node.
    // Reads "FPS" of the camera configuration.
    CFPSCameraManipulator(COgreCamera& camera, const sds::CGfxObjPtr& target);
    ~CFPSCameraManipulator() override { DestroyControlNode(); }

    bool IsAttached() const override { return true; }
    void Update(const sds::CTiming& timing) override;
    void Release() override;

private:
    void DestroyControlNode();

    sds::CGfxObjPtr m_Target;
    // Radians.
    float m_MaxPitch;
    float m_MinPitch;
    float m_MaxYaw;
    float m_MinYaw;
    float m_LookDirection;
    Ogre::SceneNode* m_pControlNode = nullptr;
};

} // namespace wrappers
