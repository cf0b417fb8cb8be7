#include "scene/ogre/sky/Sun.h"

#include <algorithm>

#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSceneNode.h>

#include "scene/ogre/sky/SkyObjects.h"

namespace caelum {

namespace {

const char* const kDiscMaterial = "CaelumSunDisc";
// Of the sky's unit radius: the disc's glow spans about seven degrees.
const float kDiscSize = 0.12f;
const float kDiscDistance = 0.95f;

} // namespace

Sun::Sun(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup)
    : m_SceneMgr(sceneMgr), m_DiscMaterial(GetSkyMaterial(kDiscMaterial, resourceGroup)),
      m_LightNode(skyNode->createChildSceneNode()), m_Light(sceneMgr->createLight()),
      m_Disc(sceneMgr->createBillboardSet(1))
{
    m_Light->setType(Ogre::Light::LT_DIRECTIONAL);
    m_Light->setCastShadows(true);
    m_LightNode->attachObject(m_Light);

    m_Disc->setMaterial(m_DiscMaterial);
    m_Disc->setDefaultDimensions(kDiscSize, kDiscSize);
    m_Disc->setCastShadows(false);
    m_Disc->setQueryFlags(0);
    m_Disc->setRenderQueueGroupAndPriority(Ogre::RENDER_QUEUE_SKIES_EARLY, 30);
    m_Disc->setBounds(Ogre::AxisAlignedBox(-1, -1, -1, 1, 1, 1), 1.8f);
    m_Disc->createBillboard(Ogre::Vector3::UNIT_Y * kDiscDistance);
    skyNode->attachObject(m_Disc);
    update(Ogre::Vector3::UNIT_Y, Ogre::ColourValue::White);
}

Sun::~Sun()
{
    m_SceneMgr->destroyBillboardSet(m_Disc);
    m_SceneMgr->destroyLight(m_Light);
    m_SceneMgr->destroySceneNode(m_LightNode);
}

void Sun::update(const Ogre::Vector3& sunDirection, const Ogre::ColourValue& lightColour)
{
    m_Direction = sunDirection.normalisedCopy();
    m_LightColour = lightColour;
    m_LightNode->setDirection(-m_Direction, Ogre::Node::TS_PARENT);
    m_Light->setDiffuseColour(lightColour * m_DiffuseMultiplier);
    m_Light->setSpecularColour(lightColour * m_SpecularMultiplier);
    const float brightness = (lightColour.r + lightColour.g + lightColour.b) / 3.0f;
    m_Light->setVisible(!m_AutoDisable || brightness >= m_AutoDisableThreshold);

    // The disc in the sunlight's hue at full strength, fading out under the horizon.
    Ogre::Billboard* disc = m_Disc->getBillboard(0);
    disc->setPosition(m_Direction * kDiscDistance);
    const float strongest = std::max({lightColour.r, lightColour.g, lightColour.b});
    Ogre::ColourValue colour = strongest > 0.0f ? lightColour * (1.0f / strongest) : Ogre::ColourValue::Black;
    colour *= std::clamp(strongest * 4.0f, 0.0f, 1.0f);
    colour.a = 1.0f;
    disc->setColour(colour);
}

} // namespace caelum
