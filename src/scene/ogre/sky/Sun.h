#pragma once

#include <string>

#include <OGRE/OgreBillboardSet.h>
#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreLight.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreVector.h>

namespace caelum {

// The sun: a directional light whose colour is the sunlight's times the
// multipliers, and its disc in the sky.
class Sun
{
public:
    // The materials come from the sky's resource group.
    Sun(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup);
    ~Sun();
    Sun(const Sun&) = delete;
    Sun& operator=(const Sun&) = delete;

    void setAmbientMultiplier(const Ogre::ColourValue& value) { m_AmbientMultiplier = value; }
    const Ogre::ColourValue& getAmbientMultiplier() const { return m_AmbientMultiplier; }
    void setDiffuseMultiplier(const Ogre::ColourValue& value) { m_DiffuseMultiplier = value; }
    const Ogre::ColourValue& getDiffuseMultiplier() const { return m_DiffuseMultiplier; }
    void setSpecularMultiplier(const Ogre::ColourValue& value) { m_SpecularMultiplier = value; }
    const Ogre::ColourValue& getSpecularMultiplier() const { return m_SpecularMultiplier; }
    // With auto-disable the light goes off while the sunlight's brightness
    // (the mean of its red, green and blue) is below the threshold: when the
    // sun is under the horizon.
    void setAutoDisable(bool enabled) { m_AutoDisable = enabled; }
    bool getAutoDisable() const { return m_AutoDisable; }
    void setAutoDisableThreshold(float threshold) { m_AutoDisableThreshold = threshold; }
    float getAutoDisableThreshold() const { return m_AutoDisableThreshold; }

    // Places the sun in the direction given (towards it) and lights the scene
    // with the sunlight's colour.
    void update(const Ogre::Vector3& sunDirection, const Ogre::ColourValue& lightColour);

    // The direction the light shines in: from the sun.
    Ogre::Vector3 getLightDirection() const { return -m_Direction; }
    // The sunlight before the multipliers.
    const Ogre::ColourValue& getLightColour() const { return m_LightColour; }
    Ogre::Light* getMainLight() const { return m_Light; }

private:
    Ogre::SceneManager* m_SceneMgr;
    Ogre::MaterialPtr m_DiscMaterial;
    Ogre::SceneNode* m_LightNode;
    Ogre::Light* m_Light;
    Ogre::BillboardSet* m_Disc;
    Ogre::ColourValue m_AmbientMultiplier{0.5f, 0.5f, 0.5f, 1.0f};
    Ogre::ColourValue m_DiffuseMultiplier{1.0f, 1.0f, 1.0f, 1.0f};
    Ogre::ColourValue m_SpecularMultiplier{1.0f, 1.0f, 1.0f, 1.0f};
    bool m_AutoDisable = false;
    float m_AutoDisableThreshold = 0.05f;
    Ogre::Vector3 m_Direction = Ogre::Vector3::UNIT_Y;
    Ogre::ColourValue m_LightColour = Ogre::ColourValue::White;
};

} // namespace caelum
