#include "scene/ogre/DotScene.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreParticleSystemManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSceneNode.h>

#include "core/Helpers.h"
#include "core/IResourceMgr.h"
#include "core/services/IApplication.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "graphics/ogre/OgreGfxObjBase.h"
#include "scene/GraphicsSettings.h"
#include "scene/ogre/PageWithEntitiesInfoTmpl.h"
#include "scene/ogre/StaticGeometryPage.h"

namespace wrappers {

namespace {

const char* const kTerrainGroup = "Terrain";
// How far beyond a detail level's band its pages are built ahead, a few
// frames' work at a time, before the camera brings them into it: some
// seconds of canopy flight.
const float kPrepareDistance = 50.0f;
// Materials are looked up in every group: the zone's own live in "Terrain".
const Ogre::String& kAnyGroup = Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME;

float Float(const xml::CNodePtr& element, const char* name)
{
    return element->GetAttribute(name)->GetValue<float>();
}

// A "position", "scale" or "direction" child: attributes "x", "y", "z".
Ogre::Vector3 ReadVector(const xml::CNodePtr& element)
{
    return Ogre::Vector3(Float(element, "x"), Float(element, "y"), Float(element, "z"));
}

// A "rotation" child: attributes "qw", "qx", "qy", "qz".
Ogre::Quaternion ReadQuaternion(const xml::CNodePtr& element)
{
    return Ogre::Quaternion(Float(element, "qw"), Float(element, "qx"), Float(element, "qy"), Float(element, "qz"));
}

// A "colourDiffuse" or "colourSpecular" child: attributes "r", "g", "b".
Ogre::ColourValue ReadColour(const xml::CNodePtr& element)
{
    return Ogre::ColourValue(Float(element, "r"), Float(element, "g"), Float(element, "b"), 1.0f);
}

Ogre::Vector3 VectorAttribute(const xml::CNodePtr& element, const char* name, const Ogre::Vector3& fallback)
{
    if (!element->HasAttribute(name))
        return fallback;
    const sds::CVector v = element->GetAttribute(name)->GetValue<sds::CVector>();
    return Ogre::Vector3(v.x, v.y, v.z);
}

// The scene's "AmbientColor": red, green, blue and alpha, each number followed
// by one separator; what is not there stays 1.
Ogre::ColourValue ReadAmbient(const std::string& text)
{
    float rgba[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    sds::ReadSeparatedFloats(text, rgba, 4);
    return Ogre::ColourValue(rgba[0], rgba[1], rgba[2], rgba[3]);
}

// The billboard type and origin that one "type" text of a billboard set names.
std::pair<Ogre::BillboardType, Ogre::BillboardOrigin> BillboardLayout(const std::string& type)
{
    static const struct
    {
        const char* m_Name;
        Ogre::BillboardType m_Type;
        Ogre::BillboardOrigin m_Origin;
    } kLayouts[] = {
        {"orientedCommon", Ogre::BBT_ORIENTED_COMMON, Ogre::BBO_CENTER},
        {"orientedSelf", Ogre::BBT_ORIENTED_SELF, Ogre::BBO_CENTER},
        {"topLeft", Ogre::BBT_POINT, Ogre::BBO_TOP_LEFT},
        {"topCenter", Ogre::BBT_POINT, Ogre::BBO_TOP_CENTER},
        {"topRight", Ogre::BBT_POINT, Ogre::BBO_TOP_RIGHT},
        {"left", Ogre::BBT_POINT, Ogre::BBO_CENTER_LEFT},
        {"right", Ogre::BBT_POINT, Ogre::BBO_CENTER_RIGHT},
        {"bottom_left", Ogre::BBT_POINT, Ogre::BBO_BOTTOM_LEFT},
        {"bottom_center", Ogre::BBT_POINT, Ogre::BBO_BOTTOM_CENTER},
        {"bottomRight", Ogre::BBT_POINT, Ogre::BBO_BOTTOM_RIGHT},
    };
    for (const auto& layout : kLayouts) {
        if (type == layout.m_Name)
            return {layout.m_Type, layout.m_Origin};
    }
    return {Ogre::BBT_POINT, Ogre::BBO_CENTER};
}

// The light's own offset and direction within its node.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void PlaceLight(Ogre::Light* light, const xml::CNodePtr& element)
{
    if (element->HasChild("position"))
        light->setPosition(ReadVector(element->GetChild("position")));
    if (element->HasChild("direction"))
        light->setDirection(ReadVector(element->GetChild("direction")).normalisedCopy());
}
#pragma GCC diagnostic pop

// Why the tiles cannot make a ground, in the user's words; empty when they can.
std::string RefuseTiles(const xml::CNode& tiles, const sds::CVector& minCorner, const sds::CVector& maxCorner,
                        const sds::CVector& tileSize)
{
    if (!tiles.HasChild("Tile"))
        return "has no \"Tile\", so there is no ground to land on.";
    const auto finite = [](const sds::CVector& v) {
        return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
    };
    if (!finite(minCorner) || !finite(maxCorner) || !(minCorner.x < maxCorner.x) || !(minCorner.z < maxCorner.z))
        return "has a \"MinCorner\" (" + tiles.GetAttribute("MinCorner")->GetValue() +
               ") that is not below its \"MaxCorner\" (" + tiles.GetAttribute("MaxCorner")->GetValue() +
               ") in x and z.";
    if (!std::isfinite(tileSize.x) || !(tileSize.x > 0.0f))
        return "has a \"TileSize\" (" + tiles.GetAttribute("TileSize")->GetValue() + ") that is not above 0.";
    return std::string();
}

sds::IApplication& Application()
{
    sds::IApplication* application = sds::IApplication::GetSingleton();
    SDS_ASSERT(application && "The drop zone is loaded within the application");
    return *application;
}

} // namespace

CDotScene::CDotScene(sds::IGfxMgr* gfxMgr, const xml::CNodePtr& scene, bool useSceneSky, float progressStart,
                     float progressRange, const sds::LoadingProgressCallback& progress)
    : m_SceneMgr(static_cast<COgreGfxMgr*>(gfxMgr)->GetSceneManager()), m_GfxMgr(gfxMgr)
{
    try {
        Load(scene, useSceneSky, progressStart, progressRange, progress);
    } catch (...) {
        TearDown();
        throw;
    }
}

CDotScene::~CDotScene()
{
    TearDown();
}

void CDotScene::Load(const xml::CNodePtr& scene, bool useSceneSky, float progressStart, float progressRange,
                     const sds::LoadingProgressCallback& progress)
{
    progress("Setting parameters", progressStart);
    if (scene->HasAttribute("AmbientColor"))
        m_SceneMgr->setAmbientLight(ReadAmbient(scene->GetAttribute("AmbientColor")->GetValue()));

    xml::ForEachChild(*scene, "FileSystem", [this](const xml::CNodePtr& location) {
        const std::string path = location->GetAttribute("Path")->GetValue();
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(path, "FileSystem", kTerrainGroup, false);
        m_ResourceLocations.push_back(path);
    });
    // The zone's own materials, particle templates and textures.
    if (!m_ResourceLocations.empty())
        Ogre::ResourceGroupManager::getSingleton().initialiseResourceGroup(kTerrainGroup);

    if (scene->HasChild("Terrain"))
        m_Terrain = scene->GetChild("Terrain");

    if (scene->HasChild("Fog")) {
        const xml::CNodePtr fog = scene->GetChild("Fog");
        const sds::CVector colour = xml::ParseVector(fog->GetAttribute("Color")->GetValue());
        const float linearEnd = Float(fog, "LinearEnd");
        const float linearStart = Float(fog, "LinearStart");
        const float density = Float(fog, "Density");
        m_SceneMgr->setFog(Ogre::FOG_EXP2, Ogre::ColourValue(colour.x, colour.y, colour.z, 1.0f), density, linearStart,
                           linearEnd);
    }

    if (useSceneSky && scene->HasChild("SkyDome")) {
        SetSkyDome(scene->GetChild("SkyDome"), true);
        m_SkyDome = scene->GetChild("SkyDome");
    }
    if (useSceneSky && scene->HasChild("SkyBox") && !m_SkyDome) {
        const xml::CNodePtr box = scene->GetChild("SkyBox");
        m_SkyBox =
            std::make_shared<CSkyBox>(box->GetAttribute("Material")->GetValue(), Float(box, "Distance"), m_SceneMgr);
    }
    if (useSceneSky && scene->HasChild("SunLight"))
        LoadNode(scene->GetChild("SunLight"));
    xml::ForEachChild(*scene, "Plane", [this](const xml::CNodePtr& plane) { LoadPlane(plane); });

    progress("Loading nodes", progressStart + 0.1f * progressRange);
    if (scene->HasChild("nodes"))
        xml::ForEachChild(*scene->GetChild("nodes"), "node", [this](const xml::CNodePtr& node) { LoadNode(node); });

    progress("Building static geometry", progressStart + 0.2f * progressRange);
    if (m_StaticGeometry)
        m_StaticGeometry->build();

    if (m_Terrain)
        LoadTerrain(m_Terrain, progressStart + 0.3f * progressRange, 0.7f * progressRange, progress);
}

void CDotScene::SetSkyDome(const xml::CNodePtr& dome, bool enable)
{
    const auto whole = [&](const char* name) { return static_cast<float>(dome->GetAttribute(name)->GetValue<int>()); };
    const std::string material = dome->GetAttribute("Material")->GetValue();
    const float curvature = whole("Curvature");
    const float tiling = whole("Tiling");
    const float distance = whole("Distance");
    m_SceneMgr->setSkyDome(enable, material, curvature, tiling, distance, true, Ogre::Quaternion::IDENTITY, 16, 16,
                           -1, kAnyGroup);
}

void CDotScene::LoadNode(const xml::CNodePtr& node)
{
    const std::string name = node->GetAttribute("name")->GetValue();
    Ogre::SceneNode* sceneNode = m_SceneMgr->getRootSceneNode()->createChildSceneNode(name);
    m_SceneNodes.push_back(sceneNode);
    if (node->HasChild("position"))
        sceneNode->setPosition(ReadVector(node->GetChild("position")));
    if (node->HasChild("rotation"))
        sceneNode->setOrientation(ReadQuaternion(node->GetChild("rotation")));
    if (node->HasChild("scale"))
        sceneNode->setScale(ReadVector(node->GetChild("scale")));
    if (node->HasChild("light"))
        sceneNode->attachObject(LoadLight(node->GetChild("light"), m_SceneMgr));
    xml::ForEachChild(*node, "particlesystem", [&](const xml::CNodePtr& element) {
        Ogre::ParticleSystem* particles = m_SceneMgr->createParticleSystem(
            element->GetAttribute("name")->GetValue(), element->GetAttribute("script")->GetValue());
        m_ParticleSystems.push_back(particles);
        sceneNode->attachObject(particles);
    });
    xml::ForEachChild(*node, "entity", [&](const xml::CNodePtr& element) {
        Ogre::Entity* entity = m_SceneMgr->createEntity(element->GetAttribute("name")->GetValue(),
                                                        element->GetAttribute("meshFile")->GetValue());
        entity->setQueryFlags(2);
        m_Entities.push_back(entity);
        sceneNode->attachObject(entity);
    });

    if (node->GetAttribute("static", false)) {
        if (!m_StaticGeometry) {
            m_StaticGeometry = m_SceneMgr->createStaticGeometry(name + "_st");
            m_StaticGeometry->setCastShadows(true);
        }
        m_StaticGeometry->addSceneNode(sceneNode);
        m_SceneMgr->getRootSceneNode()->removeChild(sceneNode);
        m_SceneMgr->destroySceneNode(sceneNode);
        m_SceneNodes.pop_back();
        return;
    }
    if (node->HasChild("billboardSet"))
        LoadBillboardSet(node->GetChild("billboardSet"), sceneNode);
}

void CDotScene::LoadBillboardSet(const xml::CNodePtr& element, Ogre::SceneNode* node)
{
    Ogre::BillboardSet* set = m_SceneMgr->createBillboardSet(node->getName(), 20);
    m_BillboardSets.push_back(set);
    const auto layout = BillboardLayout(element->GetAttribute("type")->GetValue());
    set->setBillboardType(layout.first);
    set->setBillboardOrigin(BillboardLayout(element->GetAttribute("type")->GetValue()).second);
    set->setMaterialName(element->GetAttribute("name")->GetValue(), kAnyGroup);
    set->setDefaultDimensions(static_cast<float>(element->GetAttribute("width")->GetValue<int>()),
                              static_cast<float>(element->GetAttribute("height")->GetValue<int>()));
    set->setVisible(true);
    node->attachObject(set);
    // Each billboard stands at its own place within the set; the node stays where it is.
    xml::ForEachChild(*element, "billboard", [&](const xml::CNodePtr& billboard) {
        Ogre::Vector3 position = Ogre::Vector3::ZERO;
        Ogre::ColourValue colour = Ogre::ColourValue::White;
        if (billboard->HasChild("position"))
            position = ReadVector(billboard->GetChild("position"));
        if (billboard->HasChild("colourDiffuse"))
            colour = ReadColour(billboard->GetChild("colourDiffuse"));
        set->createBillboard(position, colour);
    });
}

Ogre::Light* CDotScene::LoadLight(const xml::CNodePtr& element, Ogre::SceneManager* sceneMgr)
{
    Ogre::Light* light = sceneMgr->createLight(element->GetAttribute("name")->GetValue());
    m_Lights.push_back(light);
    const std::string type = element->GetAttribute("type", "point");
    if (type == "point" || type == "radPoint")
        light->setType(Ogre::Light::LT_POINT);
    else if (type == "directional")
        light->setType(Ogre::Light::LT_DIRECTIONAL);
    else if (type == "spot")
        light->setType(Ogre::Light::LT_SPOTLIGHT);
    if (element->HasChild("colourDiffuse"))
        light->setDiffuseColour(ReadColour(element->GetChild("colourDiffuse")));
    if (element->HasChild("colourSpecular"))
        light->setSpecularColour(ReadColour(element->GetChild("colourSpecular")));
    if (element->HasChild("lightAttenuation")) {
        const xml::CNodePtr attenuation = element->GetChild("lightAttenuation");
        light->setAttenuation(attenuation->GetAttribute("range", light->getAttenuationRange()),
                              attenuation->GetAttribute("constant", light->getAttenuationConstant()),
                              attenuation->GetAttribute("linear", light->getAttenuationLinear()),
                              attenuation->GetAttribute("quadratic", light->getAttenuationQuadric()));
    }
    PlaceLight(light, element);
    light->setCastShadows(element->GetAttribute("castShadows", true));
    light->setVisible(element->GetAttribute("visible", true));
    return light;
}

void CDotScene::LoadPlane(const xml::CNodePtr& element)
{
    const Ogre::Plane plane(VectorAttribute(element, "Normal", Ogre::Vector3::UNIT_Y), element->GetAttribute("Point", 0.0f));
    const std::string meshName = element->GetAttribute("MeshName", sds::MakeUniqueName("PlaneMesh"));
    Ogre::MeshManager::getSingleton().createPlane(
        meshName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, plane, Float(element, "Width"),
        Float(element, "Height"), static_cast<int>(element->GetAttribute("XSegments", 1.0f)),
        static_cast<int>(element->GetAttribute("YSegments", 1.0f)), element->GetAttribute("Normals", true), 1,
        element->GetAttribute("uTile", 1.0f), element->GetAttribute("vTile", 1.0f),
        VectorAttribute(element, "UpVector", Ogre::Vector3::UNIT_Z), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY,
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
    m_PlaneMeshes.push_back(meshName);
    Ogre::Entity* entity =
        m_SceneMgr->createEntity(element->GetAttribute("EntityName", sds::MakeUniqueName("EntityForPlane")), meshName);
    entity->setQueryFlags(1);
    m_Entities.push_back(entity);
    entity->setMaterialName(element->GetAttribute("Material", "1 - Default"), kAnyGroup);
    entity->setCastShadows(element->GetAttribute("CastShadows", false));
    Ogre::SceneNode* node = m_SceneMgr->getRootSceneNode()->createChildSceneNode(
        VectorAttribute(element, "Position", Ogre::Vector3::ZERO), Ogre::Quaternion::IDENTITY);
    m_SceneNodes.push_back(node);
    node->attachObject(entity);
}

void CDotScene::LoadTerrain(const xml::CNodePtr& terrain, float progressStart, float progressRange,
                            const sds::LoadingProgressCallback& progress)
{
    const std::string path = terrain->GetAttribute("Path")->GetValue();
    const std::string tilesFile = terrain->GetAttribute("TerrainTiles")->GetValue();
    const xml::CNodePtr tilesTree = sds::IResourceMgr::GetSingleton()->LoadXml(path + tilesFile, "");
    const xml::CNodePtr tiles = tilesTree->GetChild("Tiles");
    const sds::CVector minCorner = xml::ParseVector(tiles->GetAttribute("MinCorner")->GetValue());
    const sds::CVector maxCorner = xml::ParseVector(tiles->GetAttribute("MaxCorner")->GetValue());
    const sds::CVector tileSize = xml::ParseVector(tiles->GetAttribute("TileSize")->GetValue());
    const std::string refusal = RefuseTiles(*tiles, minCorner, maxCorner, tileSize);
    if (!refusal.empty())
        throw std::runtime_error("The terrain tiles file " + path + tilesFile + " " + refusal);

    try {
        m_PagedGeometry = std::make_shared<Forests::PagedGeometry>(m_SceneMgr->getCamera("DefaultCamera"), tileSize.x);
        m_PagedGeometry->setBounds(Forests::TBounds(minCorner.x, minCorner.z, maxCorner.x, maxCorner.z));
        m_PagedGeometry->setPrepareDistance(kPrepareDistance);
    } catch (const Ogre::Exception& e) {
        throw std::runtime_error("The terrain tiles file " + path + tilesFile + " cannot be paged: " +
                                 e.getDescription());
    }
    const float lod0Distance = Float(terrain, "TerrainLod0Distance");

    // The black plane under the whole terrain, seen through gaps at its edges.
    m_UnderGroundPlane = m_GfxMgr->CreateObject(">plane", sds::CGfxObjPtr());
    if (auto* plane = dynamic_cast<COgreGfxObjBase*>(m_UnderGroundPlane.get()))
        m_UnderGroundMesh = plane->GetEntity()->getMesh()->getName();
    m_UnderGroundPlane->SetMaterial("BlackUnderGround", false);
    m_UnderGroundPlane->SetScale(sds::CVector(maxCorner.x - minCorner.x, 1.0f, maxCorner.z - minCorner.z));
    m_UnderGroundPlane->SetPos(
        sds::CVector((minCorner.x + maxCorner.x) / 2, Float(terrain, "DeepestPoint"), (minCorner.z + maxCorner.z) / 2));

    if (lod0Distance > 0)
        m_TerrainDetailLevel =
            m_PagedGeometry->addDetailLevel<CPageWithEntitiesInfoTmpl<CStaticGeometryPage>>(lod0Distance, 0);
    m_TileEntities = std::make_shared<CEntityCache>(m_SceneMgr);
    m_TerrainRayTest = std::make_shared<sds::CTerrainRayTest>();
    m_TerrainLoader = std::make_shared<CTerrainLoader>(m_SceneMgr, tiles, 1, m_TileEntities, m_TerrainRayTest);
    m_PagedGeometry->setPageLoader(m_TerrainLoader.get());
    m_GfxMgr->SetTerrainRayTest(m_TerrainRayTest);

    sds::IApplication& application = Application();
    const float multiplier = sds::SurfaceObjectsMultiplier(application.GetConfig(), application.GetSettings());
    if (multiplier <= 0 || !terrain->HasChild("Object"))
        return;
    const std::string zoneName = terrain->GetAttribute("Name")->GetValue();
    const CSurfaceObjectsContext context{m_SceneMgr, m_TileEntities,
                                         std::make_shared<Forests::MeshGeometryCache>(m_SceneMgr),
                                         std::make_shared<Forests::ImpostorTextures>(m_SceneMgr),
                                         sds::UseShaders(application.GetConfig(), application.GetSettings())};
    const auto objects = terrain->GetChildren().equal_range("Object");
    const float step = progressRange / static_cast<float>(std::distance(objects.first, objects.second));
    int i = 0;
    for (auto object = objects.first; object != objects.second; ++object, ++i) {
        progress("Loading surface objects", progressStart + i * step);
        if (auto set = CreateSurfaceObjects(object->second, path, zoneName, multiplier, context)) {
            set->m_Pager->setPrepareDistance(kPrepareDistance);
            m_SurfaceObjects.push_back(set);
        }
    }
}

void CDotScene::UpdatePagers(Forests::FrameBudget* budget)
{
    std::vector<Forests::PagedGeometry*> pagers;
    if (m_PagedGeometry)
        pagers.push_back(m_PagedGeometry.get());
    for (const auto& set : m_SurfaceObjects)
        pagers.push_back(set->m_Pager.get());
    if (pagers.empty())
        return;
    const std::size_t first = m_FirstPager++ % pagers.size();
    for (std::size_t i = 0; i < pagers.size(); ++i)
        pagers[(first + i) % pagers.size()]->update(budget);
}

std::size_t CDotScene::GetPendingPages() const
{
    std::size_t pending = m_PagedGeometry ? m_PagedGeometry->getPendingCount() : 0;
    for (const auto& set : m_SurfaceObjects)
        pending += set->m_Pager->getPendingCount();
    return pending;
}

void CDotScene::TearDown()
{
    for (; !m_BillboardSets.empty(); m_BillboardSets.pop_back())
        m_SceneMgr->destroyBillboardSet(m_BillboardSets.back());
    for (; !m_Lights.empty(); m_Lights.pop_back())
        m_SceneMgr->destroyLight(m_Lights.back());
    for (; !m_ParticleSystems.empty(); m_ParticleSystems.pop_back())
        m_SceneMgr->destroyParticleSystem(m_ParticleSystems.back());
    for (; !m_Entities.empty(); m_Entities.pop_back())
        m_SceneMgr->destroyEntity(m_Entities.back()->getName());
    if (m_StaticGeometry) {
        m_SceneMgr->destroyStaticGeometry(m_StaticGeometry);
        m_StaticGeometry = nullptr;
    }
    for (; !m_SceneNodes.empty(); m_SceneNodes.pop_back()) {
        // By the node itself: a plane's node has no name.
        Ogre::SceneNode* node = m_SceneNodes.back();
        node->detachAllObjects();
        m_SceneMgr->getRootSceneNode()->removeChild(node);
        m_SceneMgr->destroySceneNode(node);
    }
    if (m_SkyDome)
        SetSkyDome(m_SkyDome, false);
    m_SkyBox.reset();
    m_SkyDome.reset();
    m_SceneMgr->setFog(Ogre::FOG_NONE, Ogre::ColourValue::White, 0.001f, 0.0f, 1.0f);

    // The pagers go before the loaders they refer to, and everything that
    // shows the zone's meshes before the zone's resources go.
    m_SurfaceObjects.clear();
    m_PagedGeometry.reset();
    m_TerrainLoader.reset();
    m_TileEntities.reset();
    if (m_TerrainRayTest && m_GfxMgr->GetTerrainRayTest() == m_TerrainRayTest)
        m_GfxMgr->SetTerrainRayTest(nullptr);
    m_TerrainRayTest.reset();
    ReleaseUnderGroundPlane();
    for (const std::string& mesh : m_PlaneMeshes)
        Ogre::MeshManager::getSingleton().remove(mesh, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    m_PlaneMeshes.clear();

    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string& path : m_ResourceLocations)
        groups.removeResourceLocation(path, kTerrainGroup);
    // A later zone with the same tile names must not show this zone's meshes,
    // nor meet its particle templates again.
    if (!m_ResourceLocations.empty() && groups.resourceGroupExists(kTerrainGroup)) {
        groups.clearResourceGroup(kTerrainGroup);
        Ogre::ParticleSystemManager::getSingleton().removeTemplatesByResourceGroup(kTerrainGroup);
    }
    m_ResourceLocations.clear();
}

void CDotScene::ReleaseUnderGroundPlane()
{
    if (!m_UnderGroundPlane)
        return;
    const std::string node = m_UnderGroundPlane->GetName();
    m_UnderGroundPlane.reset();
    if (m_SceneMgr->hasSceneNode(node))
        m_SceneMgr->destroySceneNode(node);
    // The graphics manager may have taken the plane's mesh with it already.
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (!m_UnderGroundMesh.empty() && meshes.resourceExists(m_UnderGroundMesh))
        meshes.remove(m_UnderGroundMesh, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    m_UnderGroundMesh.clear();
}

} // namespace wrappers
