#include "scene/ogre/paging/ImpostorTextures.h"

#include <cmath>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreLight.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderTexture.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/OgreViewport.h>

#include "core/Helpers.h"

namespace Forests {

namespace {

const Ogre::String& kGroup = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;

// The level's own light, so that the pictures look like the near geometry:
// its ambient light and its first directional light, or a high sun.
void LightLikeTheLevel(Ogre::SceneManager* level, Ogre::SceneManager* studio)
{
    studio->setAmbientLight(level->getAmbientLight());
    Ogre::Light* sun = studio->createLight();
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    Ogre::Vector3 direction(-0.4f, -1.0f, -0.3f);
    Ogre::ColourValue colour(0.8f, 0.8f, 0.75f);
    for (const auto& entry : level->getMovableObjects("Light")) {
        const auto* light = static_cast<const Ogre::Light*>(entry.second);
        if (light->getType() == Ogre::Light::LT_DIRECTIONAL && light->isVisible()) {
            direction = light->getDerivedDirection();
            colour = light->getDiffuseColour();
            break;
        }
    }
    Ogre::SceneNode* node = studio->getRootSceneNode()->createChildSceneNode();
    node->setDirection(direction.normalisedCopy(), Ogre::Node::TS_WORLD);
    node->attachObject(sun);
    sun->setDiffuseColour(colour);
}

// Halves a picture: each pixel the average of four, the colours weighted by
// their cover so that the empty background does not bleed in, the cover
// raised a little so that far trees do not thin away under the alpha test.
std::vector<Ogre::ColourValue> Halve(const std::vector<Ogre::ColourValue>& pixels, std::size_t width, std::size_t height)
{
    const std::size_t w = std::max<std::size_t>(width / 2, 1), h = std::max<std::size_t>(height / 2, 1);
    std::vector<Ogre::ColourValue> half(w * h);
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            Ogre::ColourValue sum(0, 0, 0, 0);
            float cover = 0;
            for (std::size_t dy = 0; dy < 2; ++dy) {
                for (std::size_t dx = 0; dx < 2; ++dx) {
                    const Ogre::ColourValue& p = pixels[std::min(2 * y + dy, height - 1) * width + std::min(2 * x + dx, width - 1)];
                    sum += p * p.a;
                    cover += p.a;
                }
            }
            Ogre::ColourValue& out = half[y * w + x];
            out = cover > 0 ? sum / cover : pixels[std::min(2 * y, height - 1) * width + std::min(2 * x, width - 1)];
            out.a = std::min(1.0f, cover / 4 * 1.3f);
        }
    }
    return half;
}

} // namespace

Ogre::TexturePtr ImpostorTextures::KeepWithMipmaps(const std::string& name, const Ogre::Image& picture)
{
    std::size_t width = picture.getWidth(), height = picture.getHeight();
    std::vector<Ogre::ColourValue> level(width * height);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x)
            level[y * width + x] = picture.getColourAt(x, y, 0);
    int levels = 0;
    while ((height >> levels) > 1)
        ++levels;
    Ogre::TexturePtr texture = Ogre::TextureManager::getSingleton().createManual(
        name, kGroup, Ogre::TEX_TYPE_2D, static_cast<Ogre::uint>(width), static_cast<Ogre::uint>(height), levels,
        Ogre::PF_A8R8G8B8, Ogre::TU_STATIC_WRITE_ONLY);
    for (int mip = 0; mip <= levels; ++mip) {
        const Ogre::PixelBox box(static_cast<Ogre::uint32>(width), static_cast<Ogre::uint32>(height), 1,
                                 Ogre::PF_FLOAT32_RGBA, level.data());
        texture->getBuffer(0, mip)->blitFromMemory(box);
        level = Halve(level, width, height);
        width = std::max<std::size_t>(width / 2, 1);
        height = std::max<std::size_t>(height / 2, 1);
    }
    return texture;
}

ImpostorTextures::ImpostorTextures(Ogre::SceneManager* sceneMgr) : m_SceneMgr(sceneMgr)
{
}

ImpostorTextures::~ImpostorTextures()
{
    for (const Ogre::MaterialPtr& material : m_Materials)
        Ogre::MaterialManager::getSingleton().remove(material);
    for (const Ogre::TexturePtr& texture : m_Textures)
        Ogre::TextureManager::getSingleton().remove(texture);
}

const ImpostorTextures::Impostor& ImpostorTextures::get(Ogre::Entity* entity)
{
    const Ogre::MeshPtr& mesh = entity->getMesh();
    auto found = m_Impostors.find(mesh->getName());
    if (found == m_Impostors.end())
        found = m_Impostors.emplace(mesh->getName(), Render(mesh)).first;
    return found->second;
}

int ImpostorTextures::frameFor(Ogre::Real yaw, const Ogre::Vector3& toViewer)
{
    const Ogre::Real step = Ogre::Math::TWO_PI / kAngles;
    const Ogre::Real angle = std::atan2(toViewer.x, toViewer.z) - yaw;
    const int frame = static_cast<int>(std::lround(angle / step)) % kAngles;
    return frame < 0 ? frame + kAngles : frame;
}

ImpostorTextures::Impostor ImpostorTextures::Render(const Ogre::MeshPtr& mesh)
{
    const Ogre::AxisAlignedBox& box = mesh->getBounds();
    const Ogre::Vector3 extent = box.getSize();
    Impostor impostor;
    impostor.m_Centre = box.getCenter();
    // Wide enough for the box seen from any side.
    impostor.m_Size = std::max(Ogre::Math::Sqrt(extent.x * extent.x + extent.z * extent.z), extent.y);
    const Ogre::Real distance = impostor.m_Size * 2;

    // Named after the mesh, so that the order in which the engine draws the
    // pictures is the same on every run.
    std::string name = "Impostor/" + mesh->getName();
    if (Ogre::MaterialManager::getSingleton().resourceExists(name, kGroup))
        name = sds::MakeUniqueName(name);
    // Drawn into a render target, then kept as an ordinary texture with a full
    // chain of mipmaps: far billboards sample the small levels.
    Ogre::TexturePtr canvas = Ogre::TextureManager::getSingleton().createManual(
        name + "_Canvas", kGroup, Ogre::TEX_TYPE_2D, kFrameSize * kAngles, kFrameSize, 0, Ogre::PF_A8R8G8B8,
        Ogre::TU_RENDERTARGET);

    Ogre::SceneManager* studio =
        Ogre::Root::getSingleton().createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME);
    LightLikeTheLevel(m_SceneMgr, studio);
    Ogre::Entity* model = studio->createEntity(mesh);
    studio->getRootSceneNode()->createChildSceneNode()->attachObject(model);

    Ogre::RenderTexture* target = canvas->getBuffer()->getRenderTarget();
    target->setAutoUpdated(false);
    for (int i = 0; i < kAngles; ++i) {
        const Ogre::Real angle = i * Ogre::Math::TWO_PI / kAngles;
        Ogre::Camera* camera = studio->createCamera(name + "_" + sds::ToString(i));
        camera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
        camera->setOrthoWindow(impostor.m_Size, impostor.m_Size);
        camera->setNearClipDistance(distance * 0.25f);
        camera->setFarClipDistance(distance * 2);
        Ogre::SceneNode* eye = studio->getRootSceneNode()->createChildSceneNode(
            impostor.m_Centre + Ogre::Vector3(std::sin(angle), 0, std::cos(angle)) * distance);
        eye->lookAt(impostor.m_Centre, Ogre::Node::TS_WORLD);
        eye->attachObject(camera);
        Ogre::Viewport* view =
            target->addViewport(camera, i, static_cast<float>(i) / kAngles, 0.0f, 1.0f / kAngles, 1.0f);
        view->setBackgroundColour(Ogre::ColourValue(0.25f, 0.3f, 0.2f, 0.0f));
        view->setOverlaysEnabled(false);
        view->setSkiesEnabled(false);
        view->setShadowsEnabled(false);
        camera->setAspectRatio(1.0f);
    }
    target->update();
    target->removeAllViewports();
    Ogre::Root::getSingleton().destroySceneManager(studio);

    Ogre::Image picture;
    canvas->convertToImage(picture);
    Ogre::TextureManager::getSingleton().remove(canvas);
    m_Textures.push_back(KeepWithMipmaps(name, picture));

    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, kGroup);
    m_Materials.push_back(material);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->setAlphaRejectSettings(Ogre::CMPF_GREATER_EQUAL, 128);
    pass->setCullingMode(Ogre::CULL_NONE);
    Ogre::TextureUnitState* unit = pass->createTextureUnitState();
    unit->setTexture(m_Textures.back());
    unit->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
    material->load();
    impostor.m_Material = name;
    return impostor;
}

} // namespace Forests
