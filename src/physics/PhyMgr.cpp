#include "physics/PhyMgr.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "core/Helpers.h"
#include "physics/BoxActor.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindRegion.h"
#include "physics/PhyException.h"
#include "physics/PhyLog.h"
#include "physics/PhyMovingBody.h"
#include "physics/PhyObj.h"
#include "physics/PhyProbe.h"
#include "physics/PhyResourceLoader.h"
#include "physics/PhyRagDoll.h"
#include "physics/PhyTriMesh.h"
#include "physics/PhyWindSock.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/ISdk.h"
#include "physics/sdk/IShape.h"
#include "physics/sdk/IUserData.h"
#include "physics/sdk/SceneDesc.h"

namespace physics {

std::uint64_t CPhyMgr::ms_StepCount = 0;
IPhyMgr::CShapeDrawCallback CPhyMgr::ms_ShapeDrawCallback;
IPhyMgr::CForceDrawCallback CPhyMgr::ms_ForceDrawCallback;

namespace {

float ReadMaxTimeStep(const xml::CNodePtr& physics)
{
    const xml::CNodePtr attribute = physics->GetAttribute("MaxTimeStep");
    const float step = attribute->GetValue<float>();
    // A step of 0 or less would never use up the frame time.
    if (!std::isfinite(step) || step <= 0.0f)
        throw CPhyMgrException("MaxTimeStep must be a positive number of seconds, not '" + attribute->GetValue() + "'");
    return step;
}

std::uint64_t NextSerial()
{
    static std::uint64_t next = 1;
    return next++;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

sdk::CMaterialDesc ReadMaterial(const xml::CNodePtr& node)
{
    sdk::CMaterialDesc desc;
    desc.m_Restitution = node->GetAttribute("Restitution")->GetValue<float>();
    desc.m_StaticFriction = node->GetAttribute("StaticFriction")->GetValue<float>();
    desc.m_DynamicFriction = node->GetAttribute("DynamicFriction")->GetValue<float>();
    return desc;
}

} // namespace

std::shared_ptr<CPhyMgr> CPhyMgr::Create(const xml::CNodePtr& physics, const xml::CNodePtr& materials)
{
    // Checked before the world takes the singleton's place.
    const float maxTimeStep = ReadMaxTimeStep(physics);
    return std::shared_ptr<CPhyMgr>(new CPhyMgr(physics, materials, maxTimeStep));
}

CPhyMgr::CPhyMgr(const xml::CNodePtr& physics, const xml::CNodePtr& materials, float maxTimeStep)
    : m_Serial(NextSerial()),
      m_MaxTimeStep(maxTimeStep),
      m_Config(physics),
      m_ErrorCallback([](const std::string& text) { std::cerr << text << std::endl; }),
      m_WarningCallback([](const std::string& text) { std::cout << text << std::endl; }),
      m_MessageCallback([](const std::string& text) { std::cout << text << std::endl; }),
      m_CollisionCallback([](const IPhyCollisionEvent&) {}),
      m_ErrorStream(*this),
      m_WindMgr(physics->GetChild("WindMgr")->GetAttribute<float>("MaxWindStrength", 10.0f)),
      m_AirDensity(physics->GetChildById("Table", "AirDensity", "Name,Id"))
{
    m_Sdk = sdk::CreatePhysicsSdk(&m_ErrorStream);
    if (!m_Sdk)
        throw CPhyMgrException("Failed to create Physics SDK.");
    CreateScene(materials);
    Update(sds::CTiming());
}

CPhyMgr* CPhyMgr::GetLiveWorld(std::uint64_t serial)
{
    CPhyMgr* world = GetSingleton();
    return world && world->m_Serial == serial ? world : nullptr;
}

CPhyMgr::~CPhyMgr()
{
    m_WindSocks.clear();
    m_Objects.clear();
    m_WindMgr.GetRegions().clear();
    ForgetExpired();
    m_ResourceLoader.reset();
    if (m_Scene)
        m_Sdk->ReleaseScene(*m_Scene);
    m_Scene = nullptr;
    m_Sdk.reset();
}

void CPhyMgr::CreateScene(const xml::CNodePtr& materials)
{
    m_Sdk->SetParameter(sdk::PARAM_SKIN_WIDTH, m_Config->GetAttribute("SkinWidth")->GetValue<float>());
    sdk::CSceneDesc desc;
    desc.m_Gravity = m_Config->GetAttribute("Gravity")->GetValue<sds::CVector>();
    desc.m_MaxIterations = m_Config->GetAttribute("maxIter")->GetValue<int>();
    desc.m_ContactReport = this;
    desc.m_TriggerReport = this;
    m_Scene = m_Sdk->CreateScene(desc);
    if (!m_Scene)
        throw CPhyMgrException("Failed to create scene.");
    // Every pair of actors in the default group reports when a touch begins.
    m_Scene->SetActorGroupPairFlags(0, 0, sdk::NOTIFY_ON_START_TOUCH);

    m_Scene->SetMaterial(0, ReadMaterial(materials->GetChild("DefaultMaterial")));
    if (materials->HasChild("Material"))
        for (auto it = materials->GetChildrenBegin("Material"); it != materials->GetChildrenEnd("Material"); ++it)
        {
            const std::uint16_t index = m_Scene->CreateMaterial(ReadMaterial(it->second));
            m_Materials[it->second->GetAttribute("Name")->GetValue()] = index;
        }
    for (auto it = materials->GetChildrenBegin("Surface"); it != materials->GetChildrenEnd("Surface"); ++it)
    {
        const std::uint16_t index = GetMaterialIndex(it->second->GetAttribute("Type")->GetValue());
        for (const std::string& name : sds::SplitString(it->second->GetAttribute("Materials")->GetValue(), ","))
            m_GfxMaterials[Trim(name)] = index;
    }
}

void CPhyMgr::SetDebugDrawCallbacks(CShapeDrawCallback shapes, CForceDrawCallback forces)
{
    ms_ShapeDrawCallback = std::move(shapes);
    ms_ForceDrawCallback = std::move(forces);
}

void CPhyMgr::SetLogCallbacks(CLogCallback message, CLogCallback warning, CLogCallback error)
{
    m_MessageCallback = std::move(message);
    m_WarningCallback = std::move(warning);
    m_ErrorCallback = std::move(error);
}

void CPhyMgr::SetCollisionCallback(CCollisionCallback callback)
{
    m_CollisionCallback = callback ? std::move(callback) : [](const IPhyCollisionEvent&) {};
}

void CPhyMgr::LogMessage(const std::string& text) const
{
    if (m_MessageCallback)
        m_MessageCallback(text);
}

void CPhyMgr::LogWarning(const std::string& text) const
{
    if (m_WarningCallback)
        m_WarningCallback(text);
}

void CPhyMgr::LogError(const std::string& text) const
{
    if (m_ErrorCallback)
        m_ErrorCallback(text);
    else
        std::cerr << text << std::endl;
}

void CPhyMgr::Update(const sds::CTiming& timing)
{
    if (!std::isfinite(timing.m_Elapsed) || timing.m_Elapsed < 0.0f)
    {
        LogError("Physics frame time " + sds::ToString(timing.m_Elapsed) + " ignored");
        return;
    }
    m_Accumulator += timing.m_Elapsed;
    if (m_Accumulator < m_MaxTimeStep)
        return;
    sds::CTiming step;
    step.m_Elapsed = m_MaxTimeStep;
    step.m_Global = timing.m_Global;
    while (m_Accumulator > m_MaxTimeStep)
    {
        m_Accumulator -= m_MaxTimeStep;
        Step(step);
    }
}

namespace {

template <class T>
void EraseExpired(std::vector<std::weak_ptr<T>>& list)
{
    list.erase(std::remove_if(list.begin(), list.end(), [](const std::weak_ptr<T>& entry) { return entry.expired(); }),
               list.end());
}

} // namespace

void CPhyMgr::ForgetExpired()
{
    EraseExpired(m_Jumpers);
    EraseExpired(m_MovingBodies);
}

void CPhyMgr::Step(const sds::CTiming& step)
{
    ++ms_StepCount;
    ForgetExpired();
    m_InWind.clear();
    m_Scene->Simulate(m_MaxTimeStep);
    while (!m_Scene->FetchResults(false))
    {
    }

    // The step's contacts and triggers, then the jumpers, the moving bodies and the windsocks.
    // Calls queued by these go to the next step.
    m_Running.clear();
    m_Running.swap(m_Deferred);
    for (const auto& call : m_Running)
        call(step);
    m_Running.clear();
    for (std::size_t i = 0, n = m_Jumpers.size(); i < n; ++i)
        if (std::shared_ptr<IPhyJumper> jumper = m_Jumpers[i].lock())
            jumper->Update(step);
    for (std::size_t i = 0, n = m_MovingBodies.size(); i < n; ++i)
        if (std::shared_ptr<CPhyMovingBody> body = m_MovingBodies[i].lock())
            body->Update(step);
    for (std::size_t i = 0, n = m_WindSocks.size(); i < n; ++i)
        m_WindSocks[i]->Update(step);
}

void CPhyMgr::CreateGroundPlane()
{
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Plane(sds::CVector::UNIT_Y, 0.0f));
    m_Objects.push_back(std::make_shared<CPhyObj>(desc));
}

std::uint16_t CPhyMgr::GetMaterialIndex(const std::string& name) const
{
    auto found = m_Materials.find(name);
    return found == m_Materials.end() ? 0 : found->second;
}

std::uint16_t CPhyMgr::GetGfxMaterialIndex(const std::string& name) const
{
    auto found = m_GfxMaterials.find(name);
    if (found != m_GfxMaterials.end())
        return found->second;
    physics::LogWarning("Gfx material '" + name + "' does not have corresponding physical material");
    return 0;
}

float CPhyMgr::GetAirDensity(float altitude) const { return m_AirDensity.GetValue(m_DropZoneElevation + altitude); }

std::shared_ptr<IPhyObj> CPhyMgr::CreateScyPhy(const std::string& file, const sds::CVector& position,
                                               const sds::CQuaternion& orientation, const CObjectCallback& ragDolls)
{
    return m_Instancer.Create(file, position, orientation, ragDolls);
}

std::shared_ptr<IPhyObj> CPhyMgr::CreateWindSock(const std::string& file, const sds::CVector& position,
                                                 const sds::CQuaternion& orientation, const CObjectCallback& ragDolls)
{
    const std::shared_ptr<IPhyObj> object = m_Instancer.Create(file, position, orientation, ragDolls);
    auto windSock = std::make_shared<CPhyWindSock>(m_Config->GetChild("WindSock"),
                                                   std::dynamic_pointer_cast<IPhyRagDoll>(object));
    m_WindSocks.push_back(windSock);
    return windSock;
}

void CPhyMgr::LoadScyPhy(const std::string& file, const sds::CVector& position, const sds::CQuaternion& orientation,
                         const CObjectCallback& models, const CObjectCallback& ragDolls, const std::string& material)
{
    m_Instancer.Load(file, position, orientation, models, ragDolls, false, material);
}

std::shared_ptr<IPhyObj> CPhyMgr::CreateTriMesh(const sds::CTriangleMesh& mesh)
{
    return std::make_shared<CPhyTriMesh>(mesh);
}

std::shared_ptr<IPhyObj> CPhyMgr::CreateBox(const sds::CVector& position, const sds::CVector& dimensions,
                                            float density, const std::string& material)
{
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box(dimensions * 0.5f));
    desc.m_Shapes.back().m_Material = GetMaterialIndex(material);
    desc.m_GlobalPosition = position;
    if (density > 0.0f)
    {
        desc.m_Body = sdk::CBodyDesc();
        desc.m_Density = density;
    }
    auto box = std::make_shared<CPhyObj>(desc);
    m_Objects.push_back(box);
    return box;
}

std::shared_ptr<IPhyObj> CPhyMgr::CreateProbe(const sds::CVector& position, float dragArea)
{
    const xml::CNodePtr probe = m_Config->GetChild("Probe");
    auto body = std::make_shared<CPhyProbe>(probe->GetChildById("ForceGravity", "Gravity", "Name,Id"),
                                            probe->GetChildById("ForceDrag", "Drag", "Name,Id"), m_WindMgr);
    // The configuration stays as it was read; only this probe has the area.
    body->GetDrag().SetArea(dragArea);
    CreateBoxActor(*body, probe->GetChild("Shape"), probe->GetChild("Actor"), position);
    // A probe may be thrown at any speed at the ground.
    body->GetActor()->RaiseBodyFlag(sdk::BF_CONTINUOUS_COLLISION);
    AddMovingBody(body);
    return body;
}

std::shared_ptr<IPhyJumper> CPhyMgr::CreateJumper(const std::string& name, bool logData, int index,
                                                  const sds::CVector& position, const sds::CQuaternion& orientation,
                                                  float exitWeight, float canopySize, const std::string& canopyModel,
                                                  const std::string& inputConversion, bool showPilotChute)
{
    const xml::CNodePtr config = m_Config->GetChild("PhyJumper");
    if (!m_JumperFactory)
        throw CPhyMgrException("No jumper factory is set: the world cannot build a jumper's body");
    CPhyJumperDesc desc;
    desc.m_Name = name;
    desc.m_LogData = logData;
    desc.m_Index = index;
    desc.m_Position = position;
    desc.m_Orientation = orientation;
    desc.m_ExitWeight = exitWeight;
    desc.m_CanopySize = canopySize;
    desc.m_CanopyModel = canopyModel;
    desc.m_InputConversion = inputConversion;
    desc.m_ShowPilotChute = showPilotChute;
    // Each body takes its own copy, so that one's overrides never reach the next.
    std::shared_ptr<IPhyJumper> jumper = m_JumperFactory(xml::CNode::Clone(config), desc);
    AddJumper(jumper);
    return jumper;
}

void CPhyMgr::AddJumper(const std::shared_ptr<IPhyJumper>& jumper) { m_Jumpers.push_back(jumper); }

void CPhyMgr::AddMovingBody(const std::shared_ptr<CPhyMovingBody>& body) { m_MovingBodies.push_back(body); }

void CPhyMgr::DrawDebug(bool drawForces)
{
    if (ms_ShapeDrawCallback)
        for (sdk::IActor* actor : m_Scene->GetActors())
        {
            const bool responds = !actor->ReadActorFlag(sdk::AF_DISABLE_RESPONSE);
            const std::vector<sdk::IShape*>& shapes = actor->GetShapes();
            for (auto it = shapes.rbegin(); it != shapes.rend(); ++it)
            {
                const sdk::IShape& shape = **it;
                sds::CVector size;
                sds::CFourFloats colour;
                switch (shape.GetType())
                {
                case sdk::SHAPE_SPHERE:
                    size = sds::CVector(2, 2, 2) * shape.GetRadius();
                    colour = {{0.3f, 0.5f, 0.5f, 1.0f}};
                    break;
                case sdk::SHAPE_BOX:
                    size = shape.GetDimensions() * 2.0f;
                    colour = {{0.5f, 0.5f, 0.5f, (shape.GetFlags() & sdk::SF_TRIGGER_ENABLE) ? 0.4f : 1.0f}};
                    break;
                case sdk::SHAPE_CAPSULE:
                    size = sds::CVector(2 * shape.GetRadius(), shape.GetHeight() + 2 * shape.GetRadius(),
                                        2 * shape.GetRadius());
                    colour = {{0.5f, 0.5f, 0.3f, 1.0f}};
                    break;
                default: continue;
                }
                ms_ShapeDrawCallback(shape, shape.GetType(), shape.GetGlobalPosition(), size,
                                     shape.GetGlobalOrientation(), colour, responds);
            }
        }
    if (!drawForces)
        return;
    for (const auto& weak : m_Jumpers)
        if (std::shared_ptr<IPhyJumper> jumper = weak.lock())
            jumper->DrawForces();
    for (const auto& weak : m_MovingBodies)
        if (std::shared_ptr<CPhyMovingBody> body = weak.lock())
            body->DrawForces();
    for (const auto& windSock : m_WindSocks)
        windSock->DrawForces();
}

std::shared_ptr<sds::ILevelResourceLoader> CPhyMgr::CreateResourceLoader(const xml::CNodePtr& physics,
                                                                         const sds::LoadingProgressCallback& progress)
{
    if (progress)
        progress("Loading wind information", 0.0f);
    auto loader = std::make_shared<CPhyResourceLoader>(physics, m_WindMgr, *this);
    m_ResourceLoader = loader;
    return loader;
}

std::uint64_t CPhyMgr::RegisterObject(CPhyObj& object)
{
    static std::uint64_t nextId = 1;
    const std::uint64_t id = nextId++;
    m_LiveObjects[id] = &object;
    return id;
}

void CPhyMgr::UnregisterObject(std::uint64_t id) { m_LiveObjects.erase(id); }

CPhyObj* CPhyMgr::FindObject(std::uint64_t id) const
{
    auto found = m_LiveObjects.find(id);
    return found == m_LiveObjects.end() ? nullptr : found->second;
}

void CPhyMgr::OnContactNotify(const sdk::CContactPair& pair, std::uint32_t events)
{
    if (events == sdk::NOTIFY_ON_END_TOUCH)
        return;
    for (const sdk::CContactPoint& point : pair.m_Points)
    {
        const std::uint16_t a = point.m_Shapes[0]->GetMaterial();
        const std::uint16_t b = point.m_Shapes[1]->GetMaterial();
        // Touches of the default material on both sides are not worth telling.
        if (a == 0 && b == 0)
            continue;
        IPhyCollisionEvent event;
        event.m_Point = point.m_Position;
        event.m_FirstMaterial = std::min(a, b);
        event.m_SecondMaterial = std::max(a, b);
        for (sdk::IActor* actor : pair.m_Actors)
            if (auto* owner = dynamic_cast<CPhyObj*>(actor->GetUserData()))
            {
                const std::uint64_t id = owner->GetId();
                m_Deferred.push_back([this, id, event](const sds::CTiming&) {
                    if (CPhyObj* object = FindObject(id))
                        object->OnCollision(event);
                });
            }
        const CCollisionCallback callback = m_CollisionCallback;
        m_Deferred.push_back([callback, event](const sds::CTiming&) { callback(event); });
    }
}

void CPhyMgr::OnTrigger(sdk::IShape& triggerShape, sdk::IShape& otherShape, std::uint32_t status)
{
    if (!(status & (sdk::TRIGGER_ON_ENTER | sdk::TRIGGER_ON_STAY)))
        return;
    const auto* owner = dynamic_cast<CPhyObj*>(otherShape.GetActor().GetUserData());
    if (!owner)
        return;
    sdk::IUserData* triggerData = triggerShape.GetActor().GetUserData();
    if (dynamic_cast<IWindRegion*>(triggerData))
    {
        QueueWind(*owner);
        return;
    }
    // An earlier call of this step may release either actor. The call finds both
    // shapes again through their owners, and is dropped when either owner has
    // gone or holds another actor; a trigger that is no object's could not be
    // found again, and tells no one.
    const auto* triggerOwner = dynamic_cast<CPhyObj*>(triggerData);
    if (!triggerOwner)
        return;
    const auto indexOf = [](const sdk::IShape& shape) {
        const std::vector<sdk::IShape*>& shapes = shape.GetActor().GetShapes();
        return std::size_t(std::find(shapes.begin(), shapes.end(), &shape) - shapes.begin());
    };
    const std::uint64_t triggerId = triggerOwner->GetId();
    const std::uint64_t otherId = owner->GetId();
    const std::size_t triggerIndex = indexOf(triggerShape);
    const std::size_t otherIndex = indexOf(otherShape);
    const sdk::IActor* triggerActor = &triggerShape.GetActor();
    const sdk::IActor* otherActor = &otherShape.GetActor();
    m_Deferred.push_back([=](const sds::CTiming&) {
        CPhyObj* trigger = FindObject(triggerId);
        CPhyObj* other = FindObject(otherId);
        if (!trigger || !other || trigger->GetActor() != triggerActor || other->GetActor() != otherActor)
            return;
        const std::vector<sdk::IShape*>& triggerShapes = triggerActor->GetShapes();
        const std::vector<sdk::IShape*>& otherShapes = otherActor->GetShapes();
        if (triggerIndex < triggerShapes.size() && otherIndex < otherShapes.size())
            other->OnTrigger(*triggerShapes[triggerIndex], *otherShapes[otherIndex], status);
    });
}

void CPhyMgr::QueueWind(const CPhyObj& owner)
{
    const std::uint64_t id = owner.GetId();
    // However many of its shapes or regions overlap, a body is given the wind once a step.
    if (std::find(m_InWind.begin(), m_InWind.end(), id) != m_InWind.end())
        return;
    m_InWind.push_back(id);
    m_Deferred.push_back([this, id](const sds::CTiming&) {
        if (CPhyObj* object = FindObject(id))
            object->ApplyWind(m_WindMgr);
    });
}

void CPhyMgr::CErrorOutputStream::ReportError(sdk::EErrorCode code, const std::string& message,
                                              const std::string& file, int line)
{
    // Codes from DB_INFO on are the SDK's information and warnings.
    if (code >= sdk::DB_INFO)
        return;
    m_World.LogError("SDK error code = " + std::to_string(code) + "; message = '" + message + "'; file = '" + file +
                     "'; line = " + std::to_string(line));
}

void CPhyMgr::CErrorOutputStream::Print(const std::string& message)
{
    m_World.LogError("Physics SDK says: " + message);
}

} // namespace physics
