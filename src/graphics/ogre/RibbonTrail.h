#pragma once

#include <memory>
#include <string>
#include <vector>

#include <OGRE/OgreBillboardSet.h>
#include <OGRE/OgreRibbonTrail.h>
#include <OGRE/OgreSceneManager.h>

#include "graphics/IRibbonTrail.h"
#include "graphics/RibbonTrailDesc.h"

namespace wrappers {

// A fading ribbon behind the objects it trails, one chain each, hung on the
// anchor object's node, with a billboard at the head of the first object when
// the description names a head material. Both go with the wrapper, unless a
// scene reset took them already.
class CRibbonTrail : public sds::IRibbonTrail
{
public:
    // An anchor without a scene node of its own throws, naming it.
    CRibbonTrail(Ogre::SceneManager* sceneManager, const sds::CGfxObjPtr& anchor, const sds::CRibbonTrailDesc& desc,
                 const std::weak_ptr<const bool>& scene);
    ~CRibbonTrail() override;
    CRibbonTrail(const CRibbonTrail&) = delete;
    CRibbonTrail& operator=(const CRibbonTrail&) = delete;

    void AddObject(const sds::CGfxObjPtr& object) override;
    void RemoveObject(const sds::CGfxObjPtr& object) override;
    sds::CFourFloats GetInitialColour() const override;
    void SetIntensity(float factor) override;
    void SetInitialColour(unsigned chain, const sds::CFourFloats& colour) override;
    void SetColourChange(unsigned chain, const sds::CFourFloats& change) override;
    void SetInitialWidth(unsigned chain, float width) override;
    void SetWidthChange(unsigned chain, float change) override;

    Ogre::RibbonTrail* GetTrail() const { return m_pTrail; }
    Ogre::BillboardSet* GetHead() const { return m_pHead; }

private:
    bool SceneStands() const { return !m_Scene.expired(); }
    // A chain index from a caller, which the engine would only assert on.
    void CheckChain(unsigned chain) const;

    Ogre::RibbonTrail* m_pTrail = nullptr;
    Ogre::BillboardSet* m_pHead = nullptr;
    std::string m_HeadMaterial;
    // Kept here too: the heads are dimmed from them, and they outlive a scene reset.
    std::vector<sds::CFourFloats> m_InitialColours;
    Ogre::SceneNode* m_pAnchorNode = nullptr;
    Ogre::SceneManager* m_pSceneManager;
    std::weak_ptr<const bool> m_Scene;
};

} // namespace wrappers
