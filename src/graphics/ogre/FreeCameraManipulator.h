#pragma once

#include "graphics/ogre/RotationCameraManipulator.h"

namespace wrappers {

// camera_free: the user flies the camera with the move keys and looks with
// the mouse. Its chain hangs under the scene's root, starting at the camera's
// current offset; when it goes, where it left the camera becomes the free
// offset. The fixed, script and around modes start and end the same way.
class CFreeCameraManipulator : public CRotationCameraManipulator
{
public:
    explicit CFreeCameraManipulator(COgreCamera& camera);

    // Moves by the held keys (a camera out of its bounds creeps back toward
    // their centre instead), then turns by the mouse.
    void Update(const sds::CTiming& timing) override;
    void Release() override;

protected:
    // The flying velocity of the held keys, in world units per second.
    Ogre::Vector3 Velocity();
};

} // namespace wrappers
