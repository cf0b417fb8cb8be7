#pragma once

#include <string>

#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMath.h>
#include <OGRE/OgreSceneManager.h>

namespace caelum {

// The stars: a sphere of them turning with the sidereal time about an axis
// tilted from the zenith towards north by the inclination, shown as the
// night falls.
class Starfield
{
public:
    // The materials come from the sky's resource group.
    Starfield(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup);
    ~Starfield();
    Starfield(const Starfield&) = delete;
    Starfield& operator=(const Starfield&) = delete;

    void setInclination(Ogre::Degree inclination) { m_Inclination = inclination; }
    Ogre::Degree getInclination() const { return m_Inclination; }

    // Turns the stars to the sidereal angle and shows them at a brightness
    // from 0 (day) to 1 (night).
    void update(Ogre::Radian siderealAngle, float brightness);
    float getBrightness() const { return m_Brightness; }

private:
    Ogre::SceneManager* m_SceneMgr;
    std::string m_ResourceGroup;
    Ogre::MaterialPtr m_Material;
    Ogre::SceneNode* m_Node;
    Ogre::ManualObject* m_Object;
    Ogre::Degree m_Inclination{0.0f};
    float m_Brightness = 0.0f;
};

} // namespace caelum
