#include "graphics/ogre/OgreCamera.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <OGRE/OgreMatrix3.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>

#include "core/ILogMgr.h"
#include "graphics/ogre/AroundCameraManipulator.h"
#include "graphics/ogre/FPSCameraManipulator.h"
#include "graphics/ogre/FixedCameraManipulator.h"
#include "graphics/ogre/FreeCameraManipulator.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/ScriptCameraManipulator.h"

namespace wrappers {

namespace {

using namespace sds::CameraEvents;

// A world fragment without a real intersection reports this point.
const Ogre::Vector3 kNoIntersection(-1.0f, -1.0f, -1.0f);
// The cosine below which a ray counts as running along a plane.
const Ogre::Real kParallel = 1e-4f;

const char* ModeMessage(int mode)
{
    switch (mode) {
    case camera_3dperspective: return "Camera 3D perspective.";
    case camera_behind: return "Camera behind.";
    case camera_around: return "Camera around.";
    case camera_sideways: return "Camera sideways.";
    case camera_free: return "Camera free.";
    case camera_script1: return "Camera script 1.";
    case camera_script2: return "Camera script 2.";
    case camera_script3: return "Camera script 3.";
    case camera_script4: return "Camera script 4.";
    case camera_fixed: return "Camera fixed.";
    default: return nullptr;
    }
}

bool IsScriptMode(int mode)
{
    return mode >= camera_script1 && mode <= camera_script4;
}

bool IsAroundMode(int mode)
{
    return mode == camera_behind || mode == camera_around || mode == camera_sideways;
}

void Log(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage(text);
}

// Sets a flag for as long as it lives.
class CFlagScope
{
public:
    explicit CFlagScope(bool& flag) : m_Flag(flag) { m_Flag = true; }
    ~CFlagScope() { m_Flag = false; }

private:
    bool& m_Flag;
};

} // namespace

COgreCamera::COgreCamera(Ogre::Camera* camera, Ogre::Viewport* viewport, Ogre::SceneManager* sceneManager,
                         sds::IGfxMgr* gfxMgr, const xml::CNodePtr& config, bool invertY, float lookSensitivity)
    : CMotionControl(config, invertY, lookSensitivity),
      m_pGfxMgr(gfxMgr),
      m_pCamera(camera),
      m_pViewport(viewport),
      m_pSceneManager(sceneManager),
      m_Config(config)
{
    const xml::CNodePtr offsets = m_Config->GetChild("Offset");
    const char* const names[OFFSET_COUNT] = {"Perspective", "Behind", "Sideways", "Fixed", "Around", "Free"};
    for (int i = 0; i < OFFSET_COUNT; ++i)
        m_Offsets[i] = offsets->GetAttribute(names[i])->GetValue<sds::CVector>();
    m_Manipulator = std::make_shared<CCameraManipulator>();
    m_WorldUpDown = m_Config->GetChild("Manipulation")->GetAttribute("WorldUpDown")->GetValue<bool>();
    if (m_pViewport)
        m_pViewport->setBackgroundColour(Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
    const xml::CNodePtr projections = m_Config->GetChild("Projections");
    LoadProjection(projections->GetChild(projections->GetAttribute("Default")->GetValue()));
    SetFarClipDistance();
    m_pRayQuery = m_pSceneManager->createRayQuery(Ogre::Ray(), 0xFFFFFFFF);
    try {
        SetMode(camera_free);
    } catch (...) {
        m_pSceneManager->destroyQuery(m_pRayQuery);
        throw;
    }
}

COgreCamera::~COgreCamera()
{
    m_Manipulator->Release();
    m_Manipulator.reset();
    m_pSceneManager->destroyQuery(m_pRayQuery);
    Log("Camera is destroyed");
    m_Config.reset();
    m_Attached.reset();
    m_Controllers.clear();
}

void COgreCamera::SetFarClipDistance()
{
    const Ogre::RenderSystem* renderSystem = Ogre::Root::getSingleton().getRenderSystem();
    if (renderSystem && renderSystem->getCapabilities() &&
        renderSystem->getCapabilities()->hasCapability(Ogre::RSC_INFINITE_FAR_PLANE)) {
        m_pCamera->setFarClipDistance(0.0f);
        return;
    }
    Ogre::Real visible = 1000.0f;
    if (!m_pSceneManager->getOption("VisibleDistance", &visible))
        visible = 1000.0f;
    m_pCamera->setFarClipDistance(visible);
}

void COgreCamera::LoadProjection(const xml::CNodePtr& projection)
{
    m_pCamera->setNearClipDistance(projection->GetAttribute("NearClipDistance")->GetValue<float>());
    const bool perspective = projection->GetAttribute("Projection")->GetValue() == "Perspective";
    m_pCamera->setProjectionType(perspective ? Ogre::PT_PERSPECTIVE : Ogre::PT_ORTHOGRAPHIC);
}

void COgreCamera::SetProjection(const std::string& name)
{
    const xml::CNodePtr projections = m_Config->GetChild("Projections");
    if (projections->HasChild(name))
        LoadProjection(projections->GetChild(name));
}

sds::CVector COgreCamera::GetWorldSpaceCorner(unsigned corner) const
{
    CheckCorner(corner);
    return FromOgre(m_pCamera->getWorldSpaceCorners()[corner]);
}

void COgreCamera::SetMotionController(int mode, sds::ICameraMotionController* controller)
{
    m_Controllers[mode] = controller ? controller : &m_DummyController;
    // The manipulator of the current mode drives the controller it was made
    // with: made again, it never drives one that its owner has let go.
    if (mode == m_Mode)
        SetMode(mode);
}

sds::ICameraMotionController* COgreCamera::ControllerOf(int mode)
{
    const auto found = m_Controllers.find(mode);
    return found == m_Controllers.end() ? &m_DummyController : found->second;
}

std::shared_ptr<CCameraManipulator> COgreCamera::MakeManipulator(int mode, const sds::CGfxObjPtr& target)
{
    if (mode == camera_3dperspective)
        return std::make_shared<CFPSCameraManipulator>(*this, target);
    if (IsAroundMode(mode))
        return std::make_shared<CAroundCameraManipulator>(*this, target);
    if (mode == camera_free)
        return std::make_shared<CFreeCameraManipulator>(*this);
    if (IsScriptMode(mode))
        return std::make_shared<CScriptCameraManipulator>(*this, ControllerOf(mode), target);
    if (mode == camera_fixed)
        return std::make_shared<CFixedCameraManipulator>(*this, target);
    return std::make_shared<CCameraManipulator>();
}

void COgreCamera::SetMode(int mode)
{
    if (mode < camera_3dperspective || mode > camera_none) {
        if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
            log->LogWarning("There is no camera mode " + std::to_string(mode) + "; the camera keeps its mode");
        return;
    }
    m_Mode = mode;
    if (const char* message = ModeMessage(mode)) {
        Log(message);
        switch (mode) {
        case camera_3dperspective: m_Offset = m_Offsets[OFFSET_PERSPECTIVE]; break;
        case camera_behind: m_Offset = m_Offsets[OFFSET_BEHIND]; break;
        case camera_around: m_Offset = m_Offsets[OFFSET_AROUND]; break;
        case camera_sideways: m_Offset = m_Offsets[OFFSET_SIDEWAYS]; break;
        case camera_free: m_Offset = m_Offsets[OFFSET_FREE]; break;
        case camera_fixed: m_Offset = m_Offsets[OFFSET_FIXED]; break;
        default: m_Offset = sds::CVector::ZERO; break;
        }
    }
    // Where the old mode leaves the camera, read while its manipulator still stands.
    m_PrevModeLastPos = GetPos();
    m_PrevModeLastOrientation = GetOrientation();

    // A manipulator whose own Update switched modes stays alive until that
    // returns (the camera's Update holds it); its nodes go now, so that the new
    // chain can take their names.
    m_Manipulator->Release();
    m_Manipulator = std::make_shared<CCameraManipulator>();

    const sds::CGfxObjPtr target = m_Attached ? m_Attached : m_pGfxMgr->GetRootObject();
    try {
        m_Manipulator = MakeManipulator(mode, target);
    } catch (...) {
        // Refused (a missing key, a target it cannot ride on): no mode moves the camera.
        m_Mode = camera_none;
        throw;
    }
    if (IsAroundMode(mode) && m_Attached)
        SetPos(m_Attached->GetWorldPos());
    else if (mode == camera_fixed)
        SetPos(m_PrevModeLastPos);
    else if (IsScriptMode(mode))
        ControllerOf(mode)->Initialize(this);
}

void COgreCamera::OnEvent(const sds::CInternalEvent& event)
{
    if (event.Code == camera_switch_details) {
        if (!event.On)
            return;
        static const Ogre::PolygonMode kModes[] = {Ogre::PM_SOLID, Ogre::PM_WIREFRAME, Ogre::PM_POINTS};
        m_PolygonMode = (m_PolygonMode + 1) % 3;
        m_pCamera->setPolygonMode(kModes[m_PolygonMode]);
    } else if (event.Code >= camera_3dperspective && event.Code <= camera_fixed) {
        if (event.On)
            SetMode(event.Code);
    } else {
        const std::shared_ptr<CCameraManipulator> manipulator = m_Manipulator;
        manipulator->OnEvent(event);
    }
}

void COgreCamera::Update(const sds::CTiming& timing)
{
    if (m_Updating)
        throw std::logic_error("The camera's Update can not be called while it runs");
    const CFlagScope updating(m_Updating);
    // Kept alive even when this update switches modes.
    const std::shared_ptr<CCameraManipulator> manipulator = m_Manipulator;
    if (m_Mode != camera_none) {
        if (m_pYawNode)
            m_pYawNode->_update(true, true);
        // The listener hears this frame's pose before the manipulator moves it.
        if (const sds::IGfxMgr::CListenerSink& listener = m_pGfxMgr->GetSoundListener())
            listener(GetPos(), sds::CVector::ZERO, GetDir(), FromOgre(m_pCamera->getDerivedUp()));
    }
    manipulator->Update(timing);
}

bool COgreCamera::IsAttached() const
{
    return m_Manipulator->IsAttached();
}

void COgreCamera::LookAt(const sds::CVector& point)
{
    const std::shared_ptr<CCameraManipulator> manipulator = m_Manipulator;
    manipulator->LookAt(point);
}

void COgreCamera::SetPos(const sds::CVector& pos)
{
    if (!m_pYawNode)
        return;
    m_pYawNode->setPosition(ToOgre(pos));
    m_pYawNode->_update(true, true);
}

bool COgreCamera::IsInBounds(const sds::CVector&) const
{
    return IsWellInside(GetPos(), m_BoundsMin, m_BoundsMax);
}

void COgreCamera::SetBounds(const sds::CVector& minimum, const sds::CVector& maximum)
{
    m_BoundsMin = minimum;
    m_BoundsMax = maximum;
}

sds::CVector COgreCamera::GetPos() const
{
    return FromOgre(m_pCamera->getDerivedPosition());
}

sds::CVector COgreCamera::GetRot() const
{
    Ogre::Matrix3 rotation;
    m_pCamera->getDerivedOrientation().ToRotationMatrix(rotation);
    Ogre::Radian yaw, pitch, roll;
    rotation.ToEulerAnglesYXZ(yaw, pitch, roll);
    return sds::CVector(pitch.valueDegrees(), yaw.valueDegrees(), roll.valueDegrees());
}

sds::CVector COgreCamera::GetDir() const
{
    return FromOgre(m_pCamera->getDerivedDirection());
}

sds::CQuaternion COgreCamera::GetOrientation() const
{
    return FromOgre(m_pCamera->getDerivedOrientation());
}

sds::CQuaternion COgreCamera::GetHorizontalOrientation() const
{
    return m_pYawNode ? FromOgre(m_pYawNode->_getDerivedOrientation()) : sds::CQuaternion::IDENTITY;
}

void COgreCamera::SetNodes(Ogre::SceneNode* yaw, Ogre::SceneNode* pitch, Ogre::SceneNode* camera)
{
    m_pYawNode = yaw;
    m_pPitchNode = pitch;
    m_pCameraNode = camera;
}

void COgreCamera::ForgetNodes(const Ogre::SceneNode* yaw)
{
    if (m_pYawNode == yaw)
        SetNodes(nullptr, nullptr, nullptr);
}

void COgreCamera::HangRenderingCamera(Ogre::SceneNode* node)
{
    if (m_pCamera->isAttached())
        m_pCamera->detachFromParent();
    node->attachObject(m_pCamera);
}

Ogre::Ray COgreCamera::ViewportRay(float x, float y) const
{
    return m_pCamera->getCameraToViewportRay(x, y);
}

bool COgreCamera::FindObjUnderCursor(float x, float y, int kind)
{
    m_PickResults.clear();
    const bool terrain = kind != PICK_OBJECTS;
    const bool objects = kind != PICK_TERRAIN;
    const Ogre::Ray ray = ViewportRay(x, y);
    m_pRayQuery->setRay(ray);
    m_pRayQuery->setSortByDistance(true, 0);
    for (const Ogre::RaySceneQueryResultEntry& entry : m_pRayQuery->execute()) {
        if (entry.worldFragment) {
            if (terrain && entry.worldFragment->singleIntersection != kNoIntersection)
                m_PickResults.push_back({FromOgre(entry.worldFragment->singleIntersection), "Terrain", entry.distance});
        } else if (entry.movable) {
            // The rendering camera never picks itself.
            if (objects && entry.movable != m_pCamera) {
                const Ogre::SceneNode* node = entry.movable->getParentSceneNode();
                const Ogre::Vector3 where = node ? node->_getDerivedPosition() : ray.getPoint(entry.distance);
                m_PickResults.push_back({FromOgre(where), entry.movable->getName(), entry.distance});
            }
        } else if (objects) {
            m_PickResults.push_back({FromOgre(ray.getPoint(entry.distance)), "_Static", entry.distance});
        }
    }
    m_pRayQuery->clearResults();

    // The paged terrain answers its own ray test; its hit joins the others by distance.
    if (terrain) {
        if (const sds::CTerrainRayTestPtr& test = m_pGfxMgr->GetTerrainRayTest()) {
            if (const auto hit = test->RayTest(FromOgre(ray.getOrigin()), FromOgre(ray.getDirection()))) {
                const CPickResult result{hit->m_Point, "Terrain", hit->m_Distance};
                const auto after = std::upper_bound(
                    m_PickResults.begin(), m_PickResults.end(), result.m_Distance,
                    [](float distance, const CPickResult& other) { return distance < other.m_Distance; });
                m_PickResults.insert(after, result);
            }
        }
    }
    return !m_PickResults.empty();
}

sds::CVector COgreCamera::ViewportPosToWorldPos(float x, float y, const sds::CVector& planeNormal,
                                                const sds::CVector& planePoint)
{
    const Ogre::Ray ray = ViewportRay(x, y);
    const Ogre::Vector3 normal = ToOgre(planeNormal).normalisedCopy();
    // The viewport ray comes through the camera's matrices, whose rounding
    // leaves a ray along the plane a little off it: such a ray counts as parallel.
    const Ogre::Real along = normal.dotProduct(ray.getDirection());
    if (std::abs(along) < kParallel)
        return sds::CVector::MAX_NEGATIVE;
    const Ogre::Real distance = normal.dotProduct(ToOgre(planePoint) - ray.getOrigin()) / along;
    if (distance < 0.0f)
        return sds::CVector::MAX_NEGATIVE;
    return FromOgre(ray.getPoint(distance));
}

} // namespace wrappers
