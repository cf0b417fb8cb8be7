#pragma once

#include <string>
#include <vector>

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>

namespace caelum {

// Fog lying on the ground: a dome around the camera drawn over the far scene,
// thick at the horizon and clearing upwards, and a denser fog on the passes
// of the scene's materials that ask for it by name.
class GroundFog
{
public:
    // The name a material's pass takes to get the ground fog.
    static const char* const kDefaultPassName;

    // `domeMaterial` and `domeEntity` name the dome's material and entity.
    GroundFog(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& domeMaterial,
              const std::string& domeEntity);
    ~GroundFog();
    GroundFog(const GroundFog&) = delete;
    GroundFog& operator=(const GroundFog&) = delete;

    // Collects the passes of the loaded materials named `passName`; the
    // earlier ones get their own fog back.
    void findFogPassesByName(const std::string& passName = kDefaultPassName);
    const std::vector<Ogre::Pass*>& getFogPasses() const { return m_Passes; }

    // Exponential density of the fog on the collected passes.
    void setDensity(float density) { m_Density = density; }
    float getDensity() const { return m_Density; }

    // Colours the dome and the passes' fog.
    void update(const Ogre::ColourValue& colour);

    Ogre::Entity* getDome() const { return m_Dome; }

private:
    void releasePasses();

    Ogre::SceneManager* m_SceneMgr;
    Ogre::MaterialPtr m_Material;
    Ogre::Entity* m_Dome;
    Ogre::SceneNode* m_Node;
    std::vector<Ogre::Pass*> m_Passes;
    float m_Density = 0.002f;
};

} // namespace caelum
