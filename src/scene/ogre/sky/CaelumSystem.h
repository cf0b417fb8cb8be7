#pragma once

#include <memory>
#include <string>

#include <OGRE/OgreRenderTargetListener.h>
#include <OGRE/OgreSceneManager.h>

#include "scene/ogre/sky/CloudLayer.h"
#include "scene/ogre/sky/GroundFog.h"
#include "scene/ogre/sky/SkyColourModel.h"
#include "scene/ogre/sky/SkyDome.h"
#include "scene/ogre/sky/SolarSystemModel.h"
#include "scene/ogre/sky/Starfield.h"
#include "scene/ogre/sky/Sun.h"
#include "scene/ogre/sky/UniversalClock.h"

namespace caelum {

// The sky of a scene, drawn with the fixed-function pipeline: the components
// chosen by mask, driven by a clock and the observer's place on Earth, and
// optionally the scene's fog and ambient light. As a listener of a render
// target it centres the sky on the camera of every viewport drawn.
class CaelumSystem : public Ogre::RenderTargetListener
{
public:
    enum CaelumComponent {
        CAELUM_COMPONENT_SKY_COLOUR_MODEL = 1,
        CAELUM_COMPONENT_SKY_DOME = 2,
        CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL = 4,
        CAELUM_COMPONENT_SUN = 16,
        CAELUM_COMPONENT_STARFIELD = 32,
        CAELUM_COMPONENT_CLOUDS = 64,
    };

    // The sky's resource group holds its pictures and materials; with
    // `manageResourceGroup` the system makes that group when it is missing.
    CaelumSystem(Ogre::SceneManager* sceneMgr, unsigned componentMask, bool manageResourceGroup,
                 const std::string& resourceGroup);
    ~CaelumSystem() override;
    CaelumSystem(const CaelumSystem&) = delete;
    CaelumSystem& operator=(const CaelumSystem&) = delete;

    UniversalClock& getUniversalClock() { return m_Clock; }
    // Each null when its component was not asked for.
    SkyColourModel* getSkyColourModel() const { return m_SkyColourModel.get(); }
    SkyDome* getSkyDome() const { return m_SkyDome.get(); }
    SolarSystemModel* getSolarSystemModel() const { return m_SolarSystemModel.get(); }
    Sun* getSun() const { return m_Sun.get(); }
    Starfield* getStarfield() const { return m_Starfield.get(); }
    CloudLayer* getClouds() const { return m_Clouds.get(); }
    GroundFog* getGroundFog() const { return m_GroundFog.get(); }
    // Takes the ground fog over; a null one removes the ground fog.
    void setGroundFog(std::unique_ptr<GroundFog> groundFog);

    // The scene's exponential fog in the colour of the horizon, with the
    // density multiplier as its density.
    void setManageSceneFog(bool manage) { m_ManageSceneFog = manage; }
    bool getManageSceneFog() const { return m_ManageSceneFog; }
    void setSceneFogDensityMultiplier(float multiplier) { m_SceneFogDensityMultiplier = multiplier; }
    float getSceneFogDensityMultiplier() const { return m_SceneFogDensityMultiplier; }
    // The scene's ambient light from the sunlight and the sky's zenith, times
    // the sun's ambient multiplier.
    void setManageAmbientLight(bool manage) { m_ManageAmbientLight = manage; }
    bool getManageAmbientLight() const { return m_ManageAmbientLight; }

    Ogre::SceneManager* getSceneManager() const { return m_SceneMgr; }
    // The node the sky hangs under; it follows the camera.
    Ogre::SceneNode* getCaelumCameraNode() const { return m_SkyNode; }

    // The unit direction towards the sun (y up, x east, -z north).
    const Ogre::Vector3& getSunDirection() const { return m_SunDirection; }

    // Centres the sky on the camera and sizes it within the camera's far clip.
    void notifyCameraChanged(Ogre::Camera* camera);
    // Advances the clock by `timeSinceLastFrame` real seconds, drifts the
    // clouds and, when the clock says so, redraws the sky for its time.
    void updateSubcomponents(float timeSinceLastFrame);

    void preViewportUpdate(const Ogre::RenderTargetViewportEvent& event) override;

private:
    void redraw();

    Ogre::SceneManager* m_SceneMgr;
    std::string m_ResourceGroup;
    Ogre::SceneNode* m_SkyNode;
    UniversalClock m_Clock;
    std::unique_ptr<SkyColourModel> m_SkyColourModel;
    std::unique_ptr<SolarSystemModel> m_SolarSystemModel;
    std::unique_ptr<SkyDome> m_SkyDome;
    std::unique_ptr<Starfield> m_Starfield;
    std::unique_ptr<Sun> m_Sun;
    std::unique_ptr<CloudLayer> m_Clouds;
    std::unique_ptr<GroundFog> m_GroundFog;
    bool m_ManageSceneFog = false;
    float m_SceneFogDensityMultiplier = 1.0f;
    bool m_ManageAmbientLight = false;
    Ogre::Vector3 m_SunDirection;
    Ogre::ColourValue m_CloudColour = Ogre::ColourValue::White;
    Ogre::ColourValue m_FogColour = Ogre::ColourValue::White;
};

} // namespace caelum
