#include "graphics/ogre/OgreGfxMgr.h"

#include <limits>
#include <optional>

#include <memory>
#include <OGRE/OgreAnimationState.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "graphics/DialDesc.h"
#include "graphics/ogre/Dial.h"
#include "graphics/ogre/DigitalDial.h"
#include "graphics/ogre/LoadingProgressBar.h"
#include "graphics/ogre/OgreCamera.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreGfxObj.h"
#include "graphics/ogre/OgreRope.h"
#include "graphics/ogre/OgreSimpleOverlayed.h"
#include "graphics/ogre/OgreStaticGeometry.h"
#include "graphics/ogre/OgreTriangle.h"
#include "graphics/ogre/RibbonTrail.h"

namespace wrappers {

namespace {

const float kInfinity = std::numeric_limits<float>::infinity();

Ogre::ColourValue ColourOf(const std::string& text)
{
    sds::CVector rgb;
    rgb.ParseVector3(text);
    return Ogre::ColourValue(rgb.x, rgb.y, rgb.z, 1.0f);
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The objects over the node and every node below it let go of those nodes,
// which are about to be destroyed; they keep their entities.
void ReleaseNodesBelow(const Ogre::Node* node)
{
    for (const Ogre::Node* child : node->getChildren())
        ReleaseNodesBelow(child);
    if (COgreGfxObjBase* object = FindGfxObjByNode(node))
        object->ReleaseNode();
}

// The rendering engine destroys animation states without their blend masks,
// which the joints moved by hand gave them: they go first.
void DestroyBlendMasks(Ogre::Entity& entity)
{
    if (Ogre::AnimationStateSet* states = entity.getAllAnimationStates())
        for (const auto& state : states->getAnimationStates())
            state.second->destroyBlendMask();
}

[[noreturn]] void NotAvailable(const std::string& what)
{
    throw sds::CException(what + " are not available in this version of the program");
}

} // namespace

COgreGfxMgr::COgreGfxMgr(Ogre::RenderWindow* window, Ogre::SceneManager* sceneManager, sds::IApplication* application)
    : m_pApplication(application), m_pSceneManager(sceneManager), m_pWindow(window)
{
    SDS_ASSERT(m_pApplication && m_pSceneManager && m_pWindow && "The graphics manager needs its scene and window");
    const xml::CNodePtr scene = m_pApplication->GetConfig()->GetChild("Scene");
    // Read before anything is made, so that a missing key leaves nothing behind.
    const std::string ambient = scene->GetAttribute("AmbientColor")->GetValue();
    if (scene->HasChild("Shadows") && scene->GetChild("Shadows")->GetAttribute("Type", "None") != "None")
        ApplyShadows(scene->GetChild("Shadows"));
    m_pRayQuery = m_pSceneManager->createRayQuery(Ogre::Ray(), 0xFFFFFFFF);
    m_Scene = std::make_shared<const bool>(true);
    m_RootObject = new COgreGfxObj(m_pSceneManager->getRootSceneNode());
    m_pSceneManager->setAmbientLight(ColourOf(ambient));
}

void COgreGfxMgr::ApplyShadows(const xml::CNodePtr& shadows)
{
    static const std::pair<const char*, Ogre::ShadowTechnique> kTechniques[] = {
        {"StencilAdditive", Ogre::SHADOWTYPE_STENCIL_ADDITIVE},
        {"TextureModulative", Ogre::SHADOWTYPE_TEXTURE_MODULATIVE},
        {"TextureAdditive", Ogre::SHADOWTYPE_TEXTURE_ADDITIVE},
        {"StencilModulative", Ogre::SHADOWTYPE_STENCIL_MODULATIVE},
        {"TextureAdditiveIntegrated", Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED},
        {"TextureModulativeIntegrated", Ogre::SHADOWTYPE_TEXTURE_MODULATIVE_INTEGRATED},
    };
    const std::string type = shadows->GetAttribute("Type")->GetValue();
    for (const auto& technique : kTechniques) {
        if (type == technique.first) {
            m_pSceneManager->setShadowTechnique(technique.second);
            break;
        }
    }
    m_pSceneManager->setShadowColour(ColourOf(shadows->GetAttribute("ShadowColor")->GetValue()));
    m_pSceneManager->setShadowFarDistance(shadows->GetAttribute("ShadowDistance")->GetValue<float>());
    m_pSceneManager->setShowDebugShadows(shadows->GetAttribute("Debug")->GetValue<bool>());
}

COgreGfxMgr::~COgreGfxMgr()
{
    m_pSceneManager->destroyQuery(m_pRayQuery);
    DestroyCamera();
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage("GfxMgr is destroyed");
    m_RootObject.reset();
    m_ZoneLoader.reset();
    m_ObjectQueue.clear();
    // Objects still held elsewhere must not touch the scene after this.
    m_Scene.reset();
    ClearGfxObjRegistry();
}

COgreGfxMgr& COgreGfxMgr::Get()
{
    sds::IGfxMgr* mgr = sds::IGfxMgr::GetSingleton();
    SDS_ASSERT(mgr && "The graphics manager must exist");
    return static_cast<COgreGfxMgr&>(*mgr);
}

Ogre::SceneNode* COgreGfxMgr::CreateChildNode(Ogre::SceneNode* parent, const std::string& name)
{
    if (!name.empty() && m_pSceneManager->hasSceneNode(name))
        throw sds::CException("A scene object named '" + name + "' already exists");
    return name.empty() ? parent->createChildSceneNode() : parent->createChildSceneNode(name);
}

Ogre::MeshPtr COgreGfxMgr::CreatePlaneMesh(const std::string& name, int xSegments, int ySegments, float uTile,
                                           float vTile)
{
    if (Ogre::MeshManager::getSingleton().resourceExists(name))
        throw sds::CException("A mesh named '" + name + "' already exists");
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createPlane(
        name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::Plane(Ogre::Vector3::UNIT_Y, 0.0f), 1.0f,
        1.0f, xSegments, ySegments, true, 1, uTile, vTile, Ogre::Vector3::UNIT_Z, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY,
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
    // The exact extent, without the engine's padding, so sizes read back as made.
    mesh->_setBounds(Ogre::AxisAlignedBox(-0.5f, 0.0f, -0.5f, 0.5f, 0.0f, 0.5f), false);
    return mesh;
}

Ogre::Entity* COgreGfxMgr::CreateEntity(const std::string& entityName, const std::string& meshBase,
                                        const std::string& meshSuffix)
{
    const std::string base = entityName.empty() ? sds::MakeUniqueName("Empty") : entityName;
    std::string name = base + ".Entity";
    while (m_pSceneManager->hasEntity(name))
        name = sds::MakeUniqueName(base) + ".Entity";
    Ogre::Entity* entity = m_pSceneManager->createEntity(name, meshBase + meshSuffix);
    entity->setQueryFlags(4);
    return entity;
}

void COgreGfxMgr::DestroyEntity(Ogre::Entity* entity)
{
    if (entity->isAttached())
        entity->detachFromParent();
    DestroyBlendMasks(*entity);
    m_pSceneManager->destroyEntity(entity);
}

sds::CGfxObjPtr COgreGfxMgr::CreateGfxObj(Ogre::SceneNode* parentNode, const std::string& name, const std::string& mesh)
{
    if (mesh.empty() || mesh == ">novis") {
        if (name.empty() && mesh.empty())
            return sds::CGfxObjPtr();
        return sds::CGfxObjPtr(new COgreGfxObj(CreateChildNode(parentNode, name)));
    }
    // A taken node name fails before anything is made.
    if (!name.empty() && m_pSceneManager->hasSceneNode(name))
        throw sds::CException("A scene object named '" + name + "' already exists");

    Ogre::MeshPtr planeMesh;
    Ogre::Entity* entity = nullptr;
    if (mesh == ">plane") {
        planeMesh = CreatePlaneMesh(sds::MakeUniqueName(name), 1, 1, 1.0f, 1.0f);
        entity = CreateEntity(name, planeMesh->getName(), "");
    } else {
        entity = CreateEntity(name, mesh, EndsWith(mesh, ".mesh") ? "" : ".mesh");
    }
    COgreGfxObj* object = name.empty() ? new COgreGfxObj(entity)
                                       : new COgreGfxObj(nullptr, CreateChildNode(parentNode, name), entity);
    if (planeMesh)
        object->OwnResource(planeMesh);
    return sds::CGfxObjPtr(object);
}

std::shared_ptr<sds::IStaticGeometry> COgreGfxMgr::CreateStaticGeometry(const std::string& name)
{
    if (m_pSceneManager->hasStaticGeometry(name))
        throw sds::CException("A static geometry named '" + name + "' already exists");
    return std::make_shared<COgreStaticGeometry>(m_pSceneManager->createStaticGeometry(name), m_pSceneManager,
                                                 GetSceneToken());
}

sds::CGfxObjPtr COgreGfxMgr::CreateRope(float length, float width, unsigned segments, const sds::CGfxObjPtr& parent)
{
    const sds::CGfxObjPtr& owner = parent ? parent : m_RootObject;
    Ogre::SceneNode* parentNode = static_cast<COgreGfxObjBase&>(*owner).GetAttachNode();
    SDS_ASSERT(parentNode && "The rope's parent must have a scene node");
    Ogre::SceneNode* node = CreateChildNode(parentNode, "_RopeNode" + sds::ToString(++m_RopeCount));
    return sds::CGfxObjPtr(new COgreRope(owner, node, length, width, segments));
}

sds::CGfxObjPtr COgreGfxMgr::CreateBox(const sds::CVector& size)
{
    sds::CGfxObjPtr box = GetRootObject()->CreateChild("_Box" + sds::ToString(++m_BoxCount), "Cube");
    box->SetScale(size);
    return box;
}

sds::CGfxObjPtr COgreGfxMgr::CreateSphere(float radius)
{
    sds::CGfxObjPtr sphere = GetRootObject()->CreateChild("_SimpleSphere" + sds::ToString(++m_SphereCount), "SimpleSphere");
    sphere->SetScale(sds::CVector(2.0f * radius, 2.0f * radius, 2.0f * radius));
    return sphere;
}

sds::CGfxObjPtr COgreGfxMgr::CreateObject(const std::string& mesh, const sds::CGfxObjPtr& parent)
{
    const std::string name = sds::MakeUniqueName(mesh);
    if (parent)
        return parent->CreateChild(name, mesh);
    return GetRootObject()->CreateChild(name, mesh);
}

sds::CGfxObjPtr COgreGfxMgr::CreateMeshObject(const std::string& mesh)
{
    if (mesh != ">plane")
        return sds::CGfxObjPtr(new COgreGfxObj(CreateEntity("", mesh, ".mesh")));
    const Ogre::MeshPtr planeMesh = CreatePlaneMesh(sds::ToString(++m_MeshPlaneCount), 1, 1, 1.0f, 1.0f);
    COgreGfxObj* object = new COgreGfxObj(CreateEntity("", planeMesh->getName(), ""));
    object->OwnResource(planeMesh);
    return sds::CGfxObjPtr(object);
}

sds::CGfxObjPtr COgreGfxMgr::CreateCube()
{
    sds::CGfxObjPtr cube = CreateMeshObject("cube");
    cube->SetVisible(false);
    return cube;
}

sds::CGfxObjPtr COgreGfxMgr::CreatePlane(int xSegments, int ySegments, float uTile, float vTile)
{
    const std::string name = "plane" + sds::ToString(++m_PlaneCount);
    const Ogre::MeshPtr mesh = CreatePlaneMesh(name, xSegments, ySegments, uTile, vTile);
    Ogre::Entity* entity = CreateEntity(name, name, "");
    Ogre::SceneNode* node = m_pSceneManager->getRootSceneNode()->createChildSceneNode();
    COgreGfxObj* object = new COgreGfxObj(nullptr, node, entity);
    object->OwnResource(mesh);
    return sds::CGfxObjPtr(object);
}

sds::CGfxObjPtr COgreGfxMgr::CreateTriangle(const sds::CVector& a, const sds::CVector& b, const sds::CVector& c,
                                            const sds::CFourFloats& colour)
{
    Ogre::SceneNode* node =
        CreateChildNode(m_pSceneManager->getRootSceneNode(), "_TriangleNode" + sds::ToString(++m_TriangleCount));
    return sds::CGfxObjPtr(new COgreTriangle(node, a, b, c, colour));
}

sds::COverlayedPtr COgreGfxMgr::CreateOverlayed(const std::string& name)
{
    return sds::COverlayedPtr(new COgreSimpleOverlayed(name));
}

void COgreGfxMgr::GetSurfaceObjectsAround(const sds::CVector& point, float reach, float budget,
                                          const sds::CIsBaked& isBaked)
{
    if (const std::shared_ptr<sds::IZoneGraphics> zone = m_ZoneLoader.lock())
        zone->GetSurfaceObjectsAround(m_ObjectQueue, point, reach, m_TerrainCollisionMultiplier, budget, isBaked);
}

std::shared_ptr<sds::ILevelResourceLoader> COgreGfxMgr::LoadZone(const xml::CNodePtr& zone,
                                                                   const sds::LoadingProgressCallback& progress)
{
    if (!m_ZoneGraphicsFactory)
        NotAvailable("Drop-zone graphics");
    const std::shared_ptr<sds::IZoneGraphics> loader = m_ZoneGraphicsFactory(zone, progress);
    m_ZoneLoader = loader;
    return loader;
}

void COgreGfxMgr::ClearScene(const std::string& nodeName)
{
    Ogre::SceneNode* root = m_pSceneManager->getRootSceneNode();
    ReleaseNodesBelow(root->getChild(nodeName));
    root->removeAndDestroyChild(nodeName);
}

void COgreGfxMgr::CreateCamera()
{
    // One camera at a time: a zone loaded over another replaces its camera.
    DestroyCamera();
    bool invertY = false;
    float lookSensitivity = 1.0f;
    if (const xml::CNodePtr& settings = m_pApplication->GetSettings(); settings && settings->HasChild("Mouse")) {
        const xml::CNodePtr mouse = settings->GetChild("Mouse");
        lookSensitivity = mouse->GetAttribute<float>("LookSensitivity", 1.0f);
        invertY = mouse->GetAttribute<bool>("InvertY", false);
    }
    const xml::CNodePtr config = m_pApplication->GetConfig()->GetChild("Camera");
    if (!m_pSceneManager->hasCamera(kRenderingCamera))
        throw sds::CException(std::string("The level scene has no camera '") + kRenderingCamera + "'");
    Ogre::Camera* camera = m_pSceneManager->getCamera(kRenderingCamera);
    Ogre::Viewport* viewport = nullptr;
    for (unsigned short i = 0; i < m_pWindow->getNumViewports() && !viewport; ++i) {
        if (m_pWindow->getViewport(i)->getCamera() == camera)
            viewport = m_pWindow->getViewport(i);
    }
    try {
        m_Camera = std::make_shared<COgreCamera>(camera, viewport, m_pSceneManager, this, config, invertY,
                                                 lookSensitivity);
    } catch (...) {
        ParkRenderingCamera();
        throw;
    }
}

void COgreGfxMgr::DestroyCamera()
{
    if (!m_Camera)
        return;
    m_Camera->Attach(sds::CGfxObjPtr());
    m_Camera.reset();
    ParkRenderingCamera();
}

sds::ICamera* COgreGfxMgr::GetCamera()
{
    return m_Camera.get();
}

void COgreGfxMgr::UpdateCamera(const sds::CTiming& timing)
{
    if (m_Camera)
        m_Camera->Update(timing);
}

void COgreGfxMgr::ParkRenderingCamera()
{
    if (!m_pSceneManager->hasCamera(kRenderingCamera))
        return;
    Ogre::Camera* camera = m_pSceneManager->getCamera(kRenderingCamera);
    Ogre::SceneNode* root = m_pSceneManager->getRootSceneNode();
    Ogre::SceneNode* home = m_pSceneManager->hasSceneNode(kRenderingCameraNode)
                                ? m_pSceneManager->getSceneNode(kRenderingCameraNode)
                                : root->createChildSceneNode(kRenderingCameraNode);
    if (!home->getParent())
        root->addChild(home);
    if (camera->getParentSceneNode() == home)
        return;
    if (camera->isAttached())
        camera->detachFromParent();
    home->attachObject(camera);
}

std::string COgreGfxMgr::QueryRenderTarget(const std::string& prefix, const std::string& suffix)
{
    return m_pWindow->writeContentsToTimestampedFile(prefix, suffix);
}

void COgreGfxMgr::ShowOverlay(bool show)
{
    Ogre::Overlay* overlay = Ogre::OverlayManager::getSingleton().getByName("FPSOverlay");
    if (!overlay)
        return;
    if (show)
        overlay->show();
    else
        overlay->hide();
}

std::shared_ptr<sds::ILoadingProgressBar> COgreGfxMgr::CreateLoadingProgressBar(const std::string& overlayName)
{
    return std::make_shared<CLoadingProgressBar>(m_pSceneManager, m_pWindow, overlayName);
}

std::shared_ptr<sds::IDial> COgreGfxMgr::CreateDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
                                                     const xml::CNodePtr& needle)
{
    m_DialOffset += 100.0f;
    Ogre::SceneManager* rtt = Ogre::Root::getSingleton().getSceneManager("RTT Scene Manager");
    if (sds::CDigitalDialDesc::IsDigital(dial))
        return std::make_shared<CDigitalDial>(rtt, renderTarget, dial, GetSceneToken());
    return std::make_shared<CDial>(rtt, renderTarget, dial, needle, sds::CVector(m_DialOffset, 0.0f, 0.0f),
                                   GetSceneToken());
}

sds::CGfxObjPtr COgreGfxMgr::FindObject(const std::string& name)
{
    if (m_pSceneManager->hasSceneNode(name))
        return sds::CGfxObjPtr(FindGfxObjByNode(m_pSceneManager->getSceneNode(name)));
    // A ray query names the entity it hit: the object is the one on the entity's node.
    if (m_pSceneManager->hasEntity(name))
        if (const Ogre::SceneNode* node = m_pSceneManager->getEntity(name)->getParentSceneNode())
            return sds::CGfxObjPtr(FindGfxObjByNode(node));
    return sds::CGfxObjPtr();
}

std::shared_ptr<sds::IRibbonTrail> COgreGfxMgr::CreateRibbonTrail(const xml::CNodePtr& config,
                                                                   const sds::CGfxObjPtr& anchor)
{
    return std::make_shared<CRibbonTrail>(m_pSceneManager, anchor, sds::CRibbonTrailDesc::Read(config),
                                          GetSceneToken());
}

void COgreGfxMgr::CopyMaterial(const std::string& source, const std::string& target)
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr material = materials.getByName(source);
    if (!material)
        throw sds::CException("Material does not exist: " + source);
    if (materials.resourceExists(target))
        throw sds::CException("Material '" + target + "' already exists");
    material->clone(target);
}

void COgreGfxMgr::RemoveMaterial(const std::string& name)
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (Ogre::MaterialPtr material = materials.getByName(name))
        materials.remove(material);
}

Ogre::Vector3 COgreGfxMgr::CastRay(const sds::CVector& origin, const sds::CVector& direction)
{
    m_Ray.setOrigin(ToOgre(origin));
    m_Ray.setDirection(ToOgre(direction));
    m_pRayQuery->setRay(m_Ray);
    m_pRayQuery->setSortByDistance(true, 0);
    m_pRayQuery->setQueryMask(7);
    m_pRayQuery->setQueryTypeMask(Ogre::SceneManager::ENTITY_TYPE_MASK | Ogre::SceneManager::STATICGEOMETRY_TYPE_MASK |
                                  Ogre::SceneManager::FX_TYPE_MASK);
    // The terrain is no part of the scene query: its own test answers when it
    // is hit before a result of the query.
    std::optional<sds::ITerrainRayTest::CHit> terrain;
    const float length = direction.Length();
    if (GetTerrainRayTest() && length > 0.0f)
        terrain = GetTerrainRayTest()->RayTest(origin, direction);
    for (const Ogre::RaySceneQueryResultEntry& entry : m_pRayQuery->execute()) {
        // Query distances count in lengths of the direction as given.
        if (terrain && terrain->m_Distance <= entry.distance * length)
            break;
        if (entry.movable) {
            if (const Ogre::Node* node = entry.movable->getParentNode())
                return node->_getDerivedPosition();
        } else if (entry.worldFragment) {
            return entry.worldFragment->singleIntersection;
        }
    }
    m_pRayQuery->clearResults();
    if (terrain)
        return ToOgre(terrain->m_Point);
    return Ogre::Vector3(kInfinity, kInfinity, kInfinity);
}

float COgreGfxMgr::GetDistanceBelow(const sds::CVector& point)
{
    const Ogre::Vector3 hit = CastRay(point, sds::CVector::NEGATIVE_UNIT_Y);
    return (Ogre::Vector3(point.x, hit.y, point.z) - ToOgre(point)).length();
}

float COgreGfxMgr::GetDistanceAlong(const sds::CVector& point, const sds::CVector& direction)
{
    return (CastRay(point, direction) - ToOgre(point)).length();
}

void COgreGfxMgr::ResetScene()
{
    // The camera's chains and what it follows live in the scene that goes.
    DestroyCamera();
    Ogre::Vector3 eyePosition = Ogre::Vector3::ZERO;
    Ogre::Quaternion eyeOrientation = Ogre::Quaternion::IDENTITY;
    if (m_pSceneManager->hasSceneNode(kRenderingCameraNode)) {
        const Ogre::SceneNode* eye = m_pSceneManager->getSceneNode(kRenderingCameraNode);
        eyePosition = eye->getPosition();
        eyeOrientation = eye->getOrientation();
    }
    m_RootObject.reset();
    m_Scene = std::make_shared<const bool>(true);
    ClearGfxObjRegistry();
    for (const auto& entity : m_pSceneManager->getMovableObjects("Entity"))
        DestroyBlendMasks(*static_cast<Ogre::Entity*>(entity.second));
    m_pSceneManager->clearScene();
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    if (root && root->hasSceneManager("RTT Scene Manager"))
        root->getSceneManager("RTT Scene Manager")->clearScene();
    m_RootObject = new COgreGfxObj(m_pSceneManager->getRootSceneNode());
    // The scene's nodes are gone, the node of the window's camera with them.
    if (m_pSceneManager->hasCamera(kRenderingCamera)) {
        ParkRenderingCamera();
        Ogre::SceneNode* eye = m_pSceneManager->getSceneNode(kRenderingCameraNode);
        eye->setPosition(eyePosition);
        eye->setOrientation(eyeOrientation);
    }
}

} // namespace wrappers
