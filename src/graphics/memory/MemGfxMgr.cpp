#include "graphics/memory/MemGfxMgr.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <memory>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "graphics/RopeGeometry.h"
#include "graphics/TriangleGeometry.h"
#include "graphics/memory/MemDial.h"
#include "graphics/memory/MemLoadingProgressBar.h"
#include "graphics/memory/MemOverlayElement.h"
#include "graphics/memory/MemOverlayed.h"
#include "graphics/memory/MemRibbonTrail.h"
#include "graphics/memory/MemStaticGeometry.h"

namespace sds {

namespace {

const float kInfinity = std::numeric_limits<float>::infinity();

std::string MeshFileName(const std::string& mesh)
{
    const std::string extension = ".mesh";
    if (mesh.size() >= extension.size() && mesh.compare(mesh.size() - extension.size(), extension.size(), extension) == 0)
        return mesh;
    return mesh + extension;
}

mem::CMeshDesc PlaneMesh()
{
    mem::CMeshDesc plane;
    plane.m_Box.Reset(CVector(-0.5f, 0.0f, -0.5f));
    plane.m_Box.Merge(CVector(0.5f, 0.0f, 0.5f));
    return plane;
}

// Distance along the ray to the box, or +infinity when it misses.
float RayBoxDistance(const CVector& origin, const CVector& direction, const CVector& low, const CVector& high)
{
    float nearest = 0.0f;
    float farthest = kInfinity;
    const float o[3] = {origin.x, origin.y, origin.z};
    const float d[3] = {direction.x, direction.y, direction.z};
    const float lo[3] = {low.x, low.y, low.z};
    const float hi[3] = {high.x, high.y, high.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (d[axis] == 0.0f) {
            if (o[axis] < lo[axis] || o[axis] > hi[axis])
                return kInfinity;
            continue;
        }
        float t1 = (lo[axis] - o[axis]) / d[axis];
        float t2 = (hi[axis] - o[axis]) / d[axis];
        if (t1 > t2)
            std::swap(t1, t2);
        nearest = std::max(nearest, t1);
        farthest = std::min(farthest, t2);
        if (nearest > farthest)
            return kInfinity;
    }
    return nearest;
}

} // namespace

CMemGfxMgr::CMemGfxMgr()
{
    // The engine's own and those of the generated objects.
    for (const char* material : {"BaseWhite", "Rope", "Triangle", "LightRibbonTrail"})
        DefineMaterial(material, mem::CMaterial());
    for (const char* mesh : {"Cube", "cube", "SimpleSphere"})
        DefineMesh(mesh, mem::CMeshDesc());
    mem::CMeshDesc arrow;
    arrow.m_Box.Reset(CVector(-0.05f, 0.0f, -0.05f));
    arrow.m_Box.Merge(CVector(0.05f, 1.0f, 0.05f));
    DefineMesh("UnitArrow", arrow);
    ResetScene();
}

CMemGfxMgr::~CMemGfxMgr()
{
    m_Camera.reset();
    m_RootObject.reset();
    // Objects still held elsewhere must not touch the nodes that go now, nor this manager.
    m_Scene.reset();
    m_Registry.clear();
}

void CMemGfxMgr::DefineMesh(const std::string& name, const mem::CMeshDesc& mesh)
{
    m_Meshes[MeshFileName(name)] = mesh;
    for (const std::string& material : mesh.m_SubEntityMaterials) {
        if (!m_Materials.count(material))
            m_Materials[material] = mem::CMaterial();
    }
}

void CMemGfxMgr::DefineMaterial(const std::string& name, const mem::CMaterial& material)
{
    m_Materials[name] = material;
}

const mem::CMaterial* CMemGfxMgr::GetMaterial(const std::string& name) const
{
    const auto found = m_Materials.find(name);
    return found == m_Materials.end() ? nullptr : &found->second;
}

std::vector<std::string> CMemGfxMgr::GetMaterialNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : m_Materials)
        names.push_back(entry.first);
    return names;
}

void CMemGfxMgr::DefineOverlay(const std::string& name, const std::vector<std::string>& elementNames)
{
    m_Overlays[name] = false;
    for (const std::string& element : elementNames)
        m_OverlayElements[element] = std::make_shared<CMemOverlayElement>();
}

bool CMemGfxMgr::IsOverlayVisible(const std::string& name) const
{
    const auto found = m_Overlays.find(name);
    return found != m_Overlays.end() && found->second;
}

void CMemGfxMgr::SetOverlayVisible(const std::string& name, bool visible)
{
    m_Overlays[name] = visible;
}

CMemOverlayElement* CMemGfxMgr::FindOverlayElement(const std::string& name) const
{
    return ShareOverlayElement(name).get();
}

std::shared_ptr<CMemOverlayElement> CMemGfxMgr::ShareOverlayElement(const std::string& name) const
{
    const auto found = m_OverlayElements.find(name);
    return found == m_OverlayElements.end() ? nullptr : found->second;
}

void CMemGfxMgr::CreateCamera()
{
    m_Camera = std::make_shared<CMemCamera>();
}

void CMemGfxMgr::DestroyCamera()
{
    if (!m_Camera)
        return;
    m_Camera->Attach(CGfxObjPtr());
    m_Camera.reset();
}

void CMemGfxMgr::UpdateCamera(const CTiming& timing)
{
    if (m_Camera)
        m_Camera->Update(timing);
}

void CMemGfxMgr::ResetScene()
{
    DestroyCamera();
    m_RootObject.reset();
    m_Scene = std::make_shared<const bool>(true);
    m_Registry.clear();
    m_NodesByName.clear();
    m_Entities.clear();
    m_Nodes.clear();
    m_Nodes.push_back(std::make_unique<mem::CNode>());
    m_RootNode = m_Nodes.back().get();
    m_RootNode->m_Name = "Root";
    m_RootObject = new CMemGfxObj(*this, m_RootNode, nullptr);
}

mem::CNode* CMemGfxMgr::CreateNode(const std::string& name, mem::CNode* parent)
{
    if (!name.empty() && m_NodesByName.count(name))
        throw CException("A scene object named '" + name + "' already exists");
    m_Nodes.push_back(std::make_unique<mem::CNode>());
    mem::CNode* node = m_Nodes.back().get();
    node->m_Name = name;
    if (!name.empty())
        m_NodesByName[name] = node;
    if (parent)
        parent->AddChild(node);
    return node;
}

void CMemGfxMgr::DestroyNode(mem::CNode* node)
{
    if (node->m_Parent)
        node->m_Parent->RemoveChild(node);
    node->RemoveAllChildren();
    node->DetachAll();
    const auto named = m_NodesByName.find(node->m_Name);
    if (named != m_NodesByName.end() && named->second == node)
        m_NodesByName.erase(named);
    m_Nodes.erase(std::find_if(m_Nodes.begin(), m_Nodes.end(),
                               [node](const std::unique_ptr<mem::CNode>& each) { return each.get() == node; }));
}

std::vector<CMemGfxObj*> CMemGfxMgr::FindObjectsOnBonesOf(const mem::CEntity& entity) const
{
    std::vector<CMemGfxObj*> objects;
    for (const auto& entry : m_Registry) {
        if (entry.first->m_TagOwner.get() == &entity)
            objects.push_back(entry.second);
    }
    return objects;
}

mem::CNode* CMemGfxMgr::CreateTagPoint()
{
    m_Nodes.push_back(std::make_unique<mem::CNode>());
    return m_Nodes.back().get();
}

std::shared_ptr<mem::CEntity> CMemGfxMgr::CreateEntity(const std::string& entityName, const std::string& meshFile)
{
    auto found = m_Meshes.find(meshFile);
    if (found == m_Meshes.end()) {
        if (!m_AllowUnknownMeshes)
            throw CException("Cannot locate resource " + meshFile);
        found = m_Meshes.emplace(meshFile, mem::CMeshDesc()).first;
    }
    const std::string base = entityName.empty() ? MakeUniqueName("Empty") : entityName;
    std::string name = base + ".Entity";
    while (m_Entities.count(name))
        name = MakeUniqueName(base) + ".Entity";

    auto entity = std::make_shared<mem::CEntity>();
    entity->m_Name = name;
    entity->m_MeshName = meshFile;
    entity->m_Mesh = found->second;
    entity->m_Materials = entity->m_Mesh.m_SubEntityMaterials;
    for (const mem::CBoneDesc& desc : entity->m_Mesh.m_Bones) {
        mem::CBone bone;
        bone.m_Name = desc.m_Name;
        bone.m_Parent = desc.m_Parent;
        bone.m_BindPos = bone.m_Pos = desc.m_Pos;
        bone.m_BindOrientation = bone.m_Orientation = desc.m_Orientation;
        entity->m_Bones.push_back(bone);
    }
    for (const mem::CAnimationDesc& desc : entity->m_Mesh.m_Animations) {
        mem::CAnimationState& state = entity->m_States[desc.m_Name];
        state.m_Name = desc.m_Name;
        state.m_Length = desc.m_Length;
    }
    // The descriptions live in the entity's own copy of the mesh.
    for (const mem::CAnimationDesc& desc : entity->m_Mesh.m_Animations)
        entity->m_States[desc.m_Name].m_Desc = &desc;
    m_Entities[name] = entity;
    return entity;
}

void CMemGfxMgr::DestroyEntity(const std::shared_ptr<mem::CEntity>& entity)
{
    if (entity->m_Node)
        entity->m_Node->Detach(entity);
    const auto found = m_Entities.find(entity->m_Name);
    if (found != m_Entities.end() && found->second == entity)
        m_Entities.erase(found);
}

void CMemGfxMgr::UnregisterGfxObj(const mem::CNode* node, const CMemGfxObj* object)
{
    const auto found = m_Registry.find(node);
    if (found != m_Registry.end() && found->second == object)
        m_Registry.erase(found);
}

CMemGfxObj* CMemGfxMgr::FindGfxObjByNode(const mem::CNode* node) const
{
    const auto found = m_Registry.find(node);
    return found == m_Registry.end() ? nullptr : found->second;
}

CGfxObjPtr CMemGfxMgr::CreateGfxObj(mem::CNode* parentNode, const std::string& name, const std::string& mesh)
{
    if (mesh.empty()) {
        if (name.empty())
            return CGfxObjPtr();
        return CGfxObjPtr(new CMemGfxObj(*this, CreateNode(name, parentNode), nullptr));
    }
    if (mesh == ">novis")
        return CGfxObjPtr(new CMemGfxObj(*this, CreateNode(name, parentNode), nullptr));

    std::string planeMesh;
    std::shared_ptr<mem::CEntity> entity;
    if (mesh == ">plane") {
        planeMesh = MakeUniqueName(name);
        m_Meshes[planeMesh] = PlaneMesh();
        entity = CreateEntity(name, planeMesh);
    } else {
        entity = CreateEntity(name, MeshFileName(mesh));
    }
    mem::CNode* node = nullptr;
    try {
        node = name.empty() ? nullptr : CreateNode(name, parentNode);
    } catch (...) {
        DestroyEntity(entity);
        RemoveMesh(planeMesh);
        throw;
    }
    CMemGfxObj* object = new CMemGfxObj(*this, node, entity);
    if (!planeMesh.empty())
        object->OwnMesh(planeMesh);
    return CGfxObjPtr(object);
}

std::shared_ptr<IStaticGeometry> CMemGfxMgr::CreateStaticGeometry(const std::string& name)
{
    return std::make_shared<CMemStaticGeometry>(name);
}

CGfxObjPtr CMemGfxMgr::WrapNamedChild(const std::string& prefix, unsigned& counter, const std::string& mesh)
{
    ++counter;
    return CreateGfxObj(m_RootNode, prefix + ToString(counter), mesh);
}

CGfxObjPtr CMemGfxMgr::CreateRope(float length, float width, unsigned segments, const CGfxObjPtr& parent)
{
    const CRopeGeometry geometry(length, width, segments);
    mem::CMeshDesc mesh;
    mesh.m_Box = geometry.m_Bounds;
    mesh.m_BoneBoundingRadius = geometry.m_BoneRadius;
    mesh.m_SubEntityMaterials = {"Rope"};
    for (const CRopeGeometry::CBone& bone : geometry.m_Bones)
        mesh.m_Bones.push_back({bone.m_Name, bone.m_Parent, bone.m_Pos, CQuaternion::IDENTITY});
    const std::string meshName = MakeUniqueName("RopeMesh" + ToString(segments));
    m_Meshes[meshName] = mesh;

    mem::CNode* parentNode = parent ? static_cast<CMemGfxObj&>(*parent).GetAttachNode() : m_RootNode;
    CMemGfxObj* rope =
        new CMemGfxObj(*this, CreateNode("_RopeNode" + ToString(++m_RopeCount), parentNode),
                       CreateEntity(MakeUniqueName("Rope"), meshName));
    rope->OwnMesh(meshName);
    for (const CJointPtr& joint : rope->GetSkeleton()->GetJoints())
        joint->SetManuallyControlled(true);
    return CGfxObjPtr(rope);
}

CGfxObjPtr CMemGfxMgr::CreateBox(const CVector& size)
{
    CGfxObjPtr box = WrapNamedChild("_Box", m_BoxCount, "Cube");
    box->SetScale(size);
    return box;
}

CGfxObjPtr CMemGfxMgr::CreateSphere(float radius)
{
    CGfxObjPtr sphere = WrapNamedChild("_SimpleSphere", m_SphereCount, "SimpleSphere");
    sphere->SetScale(CVector(2.0f * radius, 2.0f * radius, 2.0f * radius));
    return sphere;
}

CGfxObjPtr CMemGfxMgr::CreateObject(const std::string& mesh, const CGfxObjPtr& parent)
{
    const std::string name = MakeUniqueName(mesh);
    if (parent)
        return parent->CreateChild(name, mesh);
    return GetRootObject()->CreateChild(name, mesh);
}

CGfxObjPtr CMemGfxMgr::CreateMeshObject(const std::string& mesh)
{
    if (mesh == ">plane") {
        const std::string planeMesh = ToString(++m_MeshPlaneCount);
        m_Meshes[planeMesh] = PlaneMesh();
        CMemGfxObj* object = new CMemGfxObj(*this, nullptr, CreateEntity("", planeMesh));
        object->OwnMesh(planeMesh);
        return CGfxObjPtr(object);
    }
    return CGfxObjPtr(new CMemGfxObj(*this, nullptr, CreateEntity("", mesh + ".mesh")));
}

CGfxObjPtr CMemGfxMgr::CreateCube()
{
    CGfxObjPtr cube = CreateMeshObject("cube");
    cube->SetVisible(false);
    return cube;
}

CGfxObjPtr CMemGfxMgr::CreatePlane(int, int, float, float)
{
    const std::string name = "plane" + ToString(++m_PlaneCount);
    m_Meshes[name] = PlaneMesh();
    std::shared_ptr<mem::CEntity> entity = CreateEntity(name, name);
    CMemGfxObj* object = new CMemGfxObj(*this, CreateNode("", m_RootNode), entity);
    object->OwnMesh(name);
    return CGfxObjPtr(object);
}

CGfxObjPtr CMemGfxMgr::CreateTriangle(const CVector& a, const CVector& b, const CVector& c, const CFourFloats& colour)
{
    const CTriangleGeometry geometry(a, b, c);
    mem::CMeshDesc mesh;
    mesh.m_Box = geometry.m_Bounds;
    mesh.m_SubEntityMaterials = {"BaseWhite"};
    const std::string meshName = MakeUniqueName("TriangleMesh");
    m_Meshes[meshName] = mesh;

    CMemGfxObj* triangle =
        new CMemGfxObj(*this, CreateNode("_TriangleNode" + ToString(++m_TriangleCount), m_RootNode),
                       CreateEntity(MakeUniqueName("Triangle"), meshName));
    CGfxObjPtr object(triangle);
    triangle->OwnMesh(meshName);
    triangle->SetMaterial("Triangle", true);
    triangle->SetSubEntityColour(0, colour);
    return object;
}

COverlayedPtr CMemGfxMgr::CreateOverlayed(const std::string& name)
{
    if (!m_Overlays.count(name))
        throw CException("Overlay '" + name + "' was not found");
    return COverlayedPtr(new CMemOverlayed(*this, name));
}

std::shared_ptr<ILevelResourceLoader> CMemGfxMgr::LoadZone(const xml::CNodePtr&, const LoadingProgressCallback&)
{
    throw CException("Drop-zone loading is not available in the in-memory graphics");
}

void CMemGfxMgr::ClearScene(const std::string& nodeName)
{
    const auto found = m_NodesByName.find(nodeName);
    if (found == m_NodesByName.end() || found->second->m_Parent != m_RootNode)
        throw CException("Child node named " + nodeName + " does not exist");
    m_RootNode->RemoveChild(found->second);
}

std::string CMemGfxMgr::QueryRenderTarget(const std::string& prefix, const std::string& suffix)
{
    throw CException("There is no window to capture in the in-memory graphics: " + prefix + suffix);
}

void CMemGfxMgr::ShowOverlay(bool show)
{
    if (m_Overlays.count("FPSOverlay"))
        m_Overlays["FPSOverlay"] = show;
}

std::shared_ptr<ILoadingProgressBar> CMemGfxMgr::CreateLoadingProgressBar(const std::string&)
{
    return std::make_shared<CMemLoadingProgressBar>();
}

std::shared_ptr<IDial> CMemGfxMgr::CreateDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
                                              const xml::CNodePtr& needle)
{
    m_DialOffset += 100.0f;
    if (CDigitalDialDesc::IsDigital(dial))
        return std::make_shared<CMemDial>(*this, renderTarget, dial);
    return std::make_shared<CMemDial>(renderTarget, dial, needle, CVector(m_DialOffset, 0.0f, 0.0f));
}

CGfxObjPtr CMemGfxMgr::FindObject(const std::string& name)
{
    const auto found = m_NodesByName.find(name);
    if (found != m_NodesByName.end())
        return CGfxObjPtr(FindGfxObjByNode(found->second));
    const auto entity = m_Entities.find(name);
    if (entity != m_Entities.end() && entity->second->m_Node)
        return CGfxObjPtr(FindGfxObjByNode(entity->second->m_Node));
    return CGfxObjPtr();
}

std::shared_ptr<IRibbonTrail> CMemGfxMgr::CreateRibbonTrail(const xml::CNodePtr& config, const CGfxObjPtr& anchor)
{
    return std::make_shared<CMemRibbonTrail>(anchor, CRibbonTrailDesc::Read(config));
}

void CMemGfxMgr::CopyMaterial(const std::string& source, const std::string& target)
{
    const auto found = m_Materials.find(source);
    if (found == m_Materials.end())
        throw CException("Material does not exist: " + source);
    if (m_Materials.count(target))
        throw CException("Material '" + target + "' already exists");
    m_Materials[target] = found->second;
}

CVector CMemGfxMgr::CastRay(const CVector& origin, const CVector& direction) const
{
    float nearest = kInfinity;
    const mem::CNode* hitNode = nullptr;
    for (const auto& node : m_Nodes) {
        if (node->m_Attached.empty() || !node->IsUnder(m_RootNode))
            continue;
        for (const auto& entity : node->m_Attached) {
            if (!(entity->m_QueryFlags & 7u))
                continue;
            // The world box of the entity's local box.
            const CBoundingBox& box = entity->m_Mesh.m_Box;
            const CVector pos = node->GetWorldPos();
            const CQuaternion orientation = node->GetWorldOrientation();
            const CVector scale = node->GetWorldScale();
            CBoundingBox world;
            for (int corner = 0; corner < 8; ++corner) {
                const CVector local((corner & 1) ? box.m_Max.x : box.m_Min.x, (corner & 2) ? box.m_Max.y : box.m_Min.y,
                                    (corner & 4) ? box.m_Max.z : box.m_Min.z);
                const CVector point = orientation * (scale * local) + pos;
                if (world.m_Empty)
                    world.Reset(point);
                else
                    world.Merge(point);
            }
            const float distance = RayBoxDistance(origin, direction, world.m_Min, world.m_Max);
            if (distance < nearest) {
                nearest = distance;
                hitNode = node.get();
            }
        }
    }
    // The terrain answers when it is hit before anything of the scene; box
    // distances count in lengths of the direction as given.
    const float length = direction.Length();
    if (GetTerrainRayTest() && length > 0.0f) {
        const auto terrain = GetTerrainRayTest()->RayTest(origin, direction);
        if (terrain && terrain->m_Distance <= nearest * length)
            return terrain->m_Point;
    }
    if (!hitNode)
        return CVector(kInfinity, kInfinity, kInfinity);
    return hitNode->GetWorldPos();
}

float CMemGfxMgr::GetDistanceBelow(const CVector& point)
{
    const CVector hit = CastRay(point, CVector::NEGATIVE_UNIT_Y);
    return (CVector(point.x, hit.y, point.z) - point).Length();
}

float CMemGfxMgr::GetDistanceAlong(const CVector& point, const CVector& direction)
{
    return (CastRay(point, direction) - point).Length();
}

} // namespace sds
