#pragma once

#include "graphics/IGfxObj.h"
#include "graphics/ogre/FreeCameraManipulator.h"

namespace wrappers {

// camera_behind, camera_around and camera_sideways: the camera orbits a pivot
// that follows the target, at the mode's offset and looking at it; the move
// keys zoom and orbit, the mouse orbits.
class CAroundCameraManipulator : public CFreeCameraManipulator
{
public:
    // A null target throws. Reads "Invert" of the camera configuration.
    CAroundCameraManipulator(COgreCamera& camera, const sds::CGfxObjPtr& target);

    bool IsAttached() const override { return true; }
    void Update(const sds::CTiming& timing) override;
    void OnEvent(const sds::CInternalEvent& event) override;
    void Release() override;

private:
    // The camera's step toward (forward) or away from (back) the pivot; it
    // never passes the pivot.
    Ogre::Vector3 ZoomStep(float distance) const;
    // The keys turn a tenth of the mouse scale in degrees per second.
    void OrbitByKeys(float mouseScale, float elapsed);
    // Cuts the pending elevation so that the orbit stops at straight up and down.
    void LimitElevation();

    sds::CGfxObjPtr m_Target;
    bool m_InvertX;
    bool m_InvertY;
};

} // namespace wrappers
