#pragma once

#include <OGRE/OgreSceneNode.h>

#include "graphics/ogre/MoveCameraManipulator.h"

namespace wrappers {

// A manipulator that turns the camera on a chain of three nodes: the yaw node
// carries position and heading, the pitch node the elevation, and the camera
// node, which holds the rendering camera, the distance from the pivot.
class CRotationCameraManipulator : public CMoveCameraManipulator
{
public:
    explicit CRotationCameraManipulator(COgreCamera& camera) : CMoveCameraManipulator(camera) {}
    ~CRotationCameraManipulator() override { TearDownChain(); }

    // Turns to look along the direction from the yaw node to the point.
    void LookAt(const sds::CVector& point) override;

protected:
    // Builds the chain under the parent, named by the parent's name and
    // "CamYawNode", "CamPitchNode", "CamNode", and hangs the rendering camera
    // on it.
    void BuildChain(Ogre::SceneNode* parent);
    // Takes the rendering camera off the chain and destroys the chain.
    void TearDownChain();
    bool HasChain() const { return m_pYawNode != nullptr; }

    // Applies this frame's pending turns (pitch, then yaw) and adds them to the
    // totals; a turn that would take the camera out of its bounds is undone.
    // The pending turns are used up either way.
    void RotationStep();
    // Turns from the chain's rest orientation to look along the direction.
    void LookAlong(sds::CVector direction);
    // Recomputes the world transforms of the chain (and the camera on it) now.
    void RefreshChain();

    Ogre::SceneNode* m_pYawNode = nullptr;
    Ogre::SceneNode* m_pPitchNode = nullptr;
    Ogre::SceneNode* m_pCameraNode = nullptr;
};

} // namespace wrappers
