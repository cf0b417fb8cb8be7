#pragma once

#include <memory>
#include <string>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>

#include "core/Node.h"
#include "core/Vector.h"
#include "graphics/IDial.h"
#include "graphics/ogre/OgreRTT.h"

namespace wrappers {

// An analog dial: a face quad and a needle quad on a pivot, in a small scene
// of the render-to-texture scene manager at the dial's position, seen by the
// camera of its own texture. Each dial stands apart from the others, so that
// no camera sees another dial's needle.
class CDial : public sds::IDial
{
public:
    // "Material", "Position", "Orientation", "Scale" of the dial (the face,
    // shifted by `position`) and of the needle (relative to the pivot, which
    // stands at `position`); the render target's keys (CRenderTargetDesc), with
    // the camera shifted by `position` too. A missing key throws before
    // anything is made.
    CDial(Ogre::SceneManager* sceneManager, const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
          const xml::CNodePtr& needle, const sds::CVector& position, const std::weak_ptr<const bool>& scene);
    ~CDial() override;

    std::string GetMaterialName() const override { return m_RTT->GetMaterialName(); }
    // The needle's angle from its rest pose, about the pivot's own y axis.
    void SetValue(float degrees) override;
    void SetText(const std::string& text) override { m_Text = text; }

    const COgreRTT& GetRTT() const { return *m_RTT; }
    Ogre::SceneNode* GetNeedlePivot() const { return m_pNeedlePivotNode; }

private:
    // A unit quad facing +y, the dial's own mesh.
    Ogre::Entity* CreateQuad(const std::string& entityPrefix, const std::string& material);

    Ogre::Entity* m_pFaceEntity = nullptr;
    Ogre::SceneNode* m_pFaceNode = nullptr;
    Ogre::Entity* m_pNeedleEntity = nullptr;
    Ogre::SceneNode* m_pNeedlePivotNode = nullptr;
    Ogre::SceneNode* m_pNeedleNode = nullptr;
    float m_Value = 0.0f;
    Ogre::SceneManager* m_pSceneManager;
    std::unique_ptr<COgreRTT> m_RTT;
    std::string m_Text;
    std::vector<std::string> m_QuadMeshes;
    std::weak_ptr<const bool> m_Scene;
};

} // namespace wrappers
