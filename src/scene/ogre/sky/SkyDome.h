#pragma once

#include <string>

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreVector.h>

namespace caelum {

// The sky around the camera: a sphere coloured from the sky gradient picture
// by the sun's height, brighter towards the sun when the haze is on.
class SkyDome
{
public:
    // The materials come from the sky's resource group.
    SkyDome(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup);
    ~SkyDome();
    SkyDome(const SkyDome&) = delete;
    SkyDome& operator=(const SkyDome&) = delete;

    void setHazeEnabled(bool enabled) { m_HazeEnabled = enabled; }
    bool getHazeEnabled() const { return m_HazeEnabled; }

    // Redraws the colours for the direction towards the sun; the haze glows
    // in `hazeColour` around it.
    void update(const Ogre::Vector3& sunDirection, const Ogre::ColourValue& hazeColour);

    Ogre::ManualObject* getObject() const { return m_Object; }

private:
    Ogre::SceneManager* m_SceneMgr;
    std::string m_ResourceGroup;
    Ogre::MaterialPtr m_Material;
    Ogre::SceneNode* m_Node;
    Ogre::ManualObject* m_Object;
    bool m_HazeEnabled = false;
};

} // namespace caelum
