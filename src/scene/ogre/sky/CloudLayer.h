#pragma once

#include <string>

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreVector.h>

namespace caelum {

// A layer of clouds overhead: two cloud pictures that drift with the speed
// and blend into each other over the blend time, the cover deciding how much
// of the sky they hide.
class CloudLayer
{
public:
    // The materials come from the sky's resource group.
    CloudLayer(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup);
    ~CloudLayer();
    CloudLayer(const CloudLayer&) = delete;
    CloudLayer& operator=(const CloudLayer&) = delete;

    // Cloud pictures per sky second, across (x) and along (y).
    void setCloudSpeed(const Ogre::Vector2& speed) { m_Speed = speed; }
    const Ogre::Vector2& getCloudSpeed() const { return m_Speed; }
    // Sky seconds for one picture to blend into the other; 0 keeps the first.
    void setCloudBlendTime(float seconds) { m_BlendTime = seconds; }
    float getCloudBlendTime() const { return m_BlendTime; }
    // The share of the sky covered, 0 to 1.
    void setCloudCover(float cover) { m_Cover = cover; }
    float getCloudCover() const { return m_Cover; }

    // Moves the clouds on by `skySeconds` and lights them in `colour`.
    void update(float skySeconds, const Ogre::ColourValue& colour);

private:
    Ogre::SceneManager* m_SceneMgr;
    std::string m_ResourceGroup;
    Ogre::MaterialPtr m_Material;
    Ogre::ManualObject* m_Object;
    Ogre::Vector2 m_Speed = Ogre::Vector2::ZERO;
    Ogre::Vector2 m_Offset = Ogre::Vector2::ZERO;
    float m_BlendTime = 0.0f;
    double m_BlendClock = 0.0;
    float m_Cover = 0.3f;
};

} // namespace caelum
