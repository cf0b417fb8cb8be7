#pragma once

#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreMath.h>
#include <OGRE/OgreSceneManager.h>

namespace caelum {

// The stars: a sphere of them turning with the sidereal time about an axis
// tilted from the zenith towards north by the inclination, shown as the
// night falls.
class Starfield
{
public:
    Starfield(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode);
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
    Ogre::SceneNode* m_Node;
    Ogre::ManualObject* m_Object;
    Ogre::Degree m_Inclination{0.0f};
    float m_Brightness = 0.0f;
};

} // namespace caelum
