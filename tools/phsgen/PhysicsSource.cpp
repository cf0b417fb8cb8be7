#include "phsgen/PhysicsSource.h"

#include <map>
#include <set>
#include <stdexcept>

#include "core/Helpers.h"

namespace phsgen {

namespace {

using namespace Zavuvi;

template <class F>
void ForEachChild(const xml::CNodePtr& node, const std::string& name, F f)
{
    if (!node->HasChild(name))
        return;
    for (auto it = node->GetChildrenBegin(name); it != node->GetChildrenEnd(name); ++it)
        f(it->second);
}

Vector3 VectorAttribute(const xml::CNodePtr& node, const std::string& name, const Vector3& fallback)
{
    return node->HasAttribute(name) ? node->GetAttribute(name)->GetValue<sds::CVector>() : fallback;
}

Matrix RotationAttribute(const xml::CNodePtr& node, const std::string& name)
{
    if (!node->HasAttribute(name))
        return Matrix();
    sds::CQuaternion q = node->GetAttribute(name)->GetValue<sds::CQuaternion>();
    q.NormaliseQuaternion();
    return Matrix::FromQuaternion(q);
}

std::int32_t ShapeKind(const std::string& text)
{
    static const std::map<std::string, std::int32_t> kinds = {
        {"Box", SHAPE_KIND_BOX}, {"Sphere", SHAPE_KIND_SPHERE}, {"Capsule", SHAPE_KIND_CAPSULE},
        {"Mesh", SHAPE_KIND_MESH}};
    auto found = kinds.find(text);
    if (found != kinds.end())
        return found->second;
    return std::stoi(text);
}

std::int32_t JointKind(const std::string& text)
{
    static const std::map<std::string, std::int32_t> kinds = {
        {"Revolute", JOINT_KIND_REVOLUTE}, {"Spherical", JOINT_KIND_SPHERICAL},
        {"Cylindrical", JOINT_KIND_CYLINDRICAL}, {"Prismatic", JOINT_KIND_PRISMATIC},
        {"Fixed", JOINT_KIND_FIXED}, {"Distance", JOINT_KIND_DISTANCE},
        {"PointOnLine", JOINT_KIND_POINT_ON_LINE}};
    auto found = kinds.find(text);
    if (found != kinds.end())
        return found->second;
    return std::stoi(text);
}

// "a,b,c; d,e,f; ..." as groups of numbers.
std::vector<std::vector<float>> NumberGroups(const std::string& text)
{
    std::vector<std::vector<float>> groups;
    for (const std::string& group : sds::SplitAtAnyOf(text, ";"))
    {
        std::vector<float> numbers;
        for (const std::string& number : sds::SplitAtAnyOf(group, ","))
            if (number.find_first_not_of(" \t\r\n") != std::string::npos)
                numbers.push_back(std::stof(number));
        if (!numbers.empty())
            groups.push_back(numbers);
    }
    return groups;
}

PhysicsMeshData ReadMesh(const xml::CNodePtr& node)
{
    PhysicsMeshData mesh;
    mesh.m_Convex = node->GetAttribute<bool>("Convex", false);
    for (const auto& v : NumberGroups(node->GetAttribute("Vertices", "")))
    {
        if (v.size() != 3)
            throw std::invalid_argument("a mesh vertex needs three numbers");
        mesh.m_Vertices.push_back({v[0], v[1], v[2]});
        mesh.m_VertexVectors.push_back(Vector3());
    }
    for (const auto& t : NumberGroups(node->GetAttribute("Triangles", "")))
    {
        if (t.size() != 3)
            throw std::invalid_argument("a mesh triangle needs three indices");
        for (float index : t)
            mesh.m_Triangles.push_back(std::uint16_t(index));
    }
    mesh.m_MeshFlag1 = node->GetAttribute<bool>("Flag1", false);
    mesh.m_MeshFlag2 = node->GetAttribute<bool>("Flag2", false);
    return mesh;
}

PhysicsShape ReadShape(const xml::CNodePtr& node)
{
    PhysicsShape shape;
    shape.m_Name = node->GetAttribute("Name", "");
    shape.m_Kind = ShapeKind(node->GetAttribute("Kind", "Box"));
    shape.m_Position = VectorAttribute(node, "Position", Vector3());
    shape.m_Rotation = RotationAttribute(node, "Orientation");
    shape.m_Size = VectorAttribute(node, "Size", {1.0f, 1.0f, 1.0f});
    shape.m_Group = node->GetAttribute<unsigned int>("Group", 0u);
    shape.m_Material = node->GetAttribute<unsigned int>("Material", 0u);
    shape.m_Density = node->GetAttribute<float>("Density", 1.0f);
    shape.m_Mass = node->GetAttribute<float>("Mass", 0.0f);
    shape.m_SkinWidth = node->GetAttribute<float>("SkinWidth", 0.0f);
    shape.m_MeshFile = node->GetAttribute("MeshFile", "");
    if (node->HasChild("Mesh"))
    {
        shape.m_Mesh = ReadMesh(node->GetChild("Mesh"));
        shape.m_HasMeshData = true;
        shape.m_HasMesh = true;
    }
    return shape;
}

PhysicsModel ReadModel(const xml::CNodePtr& node)
{
    PhysicsModel model;
    model.m_Name = node->GetAttribute("Name", "");
    model.m_Position = VectorAttribute(node, "Position", Vector3());
    model.m_Rotation = RotationAttribute(node, "Orientation");
    model.m_Scale = VectorAttribute(node, "Scale", {1.0f, 1.0f, 1.0f});
    return model;
}

// An index by name among `names`, or the number itself; -1 for none.
std::int32_t IndexOf(const std::string& name, const std::vector<std::string>& names, const char* what)
{
    if (name.empty() || name == "World")
        return -1;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return std::int32_t(i);
    if (name.find_first_not_of("-0123456789") == std::string::npos)
        return std::stoi(name);
    throw std::invalid_argument(std::string("no ") + what + " named '" + name + "'");
}

PhysicsActor ReadActor(const xml::CNodePtr& node, const std::vector<std::string>& skeletons)
{
    PhysicsActor actor;
    actor.m_Name = node->GetAttribute("Name", "Actor");
    actor.m_Position = VectorAttribute(node, "Position", Vector3());
    actor.m_Static = node->GetAttribute<bool>("Static", false);
    actor.m_Group = node->GetAttribute<unsigned int>("Group", 0u);
    actor.m_Density = node->GetAttribute<float>("Density", 1.0f);
    actor.m_Mass = node->GetAttribute<float>("Mass", 0.0f);
    actor.m_LinearDamping = node->GetAttribute<float>("LinearDamping", 0.0f);
    actor.m_AngularDamping = node->GetAttribute<float>("AngularDamping", 0.05f);
    actor.m_SleepLinearVelocity = node->GetAttribute<float>("SleepLinearVelocity", -1.0f);
    actor.m_SleepAngularVelocity = node->GetAttribute<float>("SleepAngularVelocity", -1.0f);
    actor.m_NoGravity = node->GetAttribute<bool>("NoGravity", false);
    actor.m_SolverIterations = node->GetAttribute<int>("SolverIterations", 4);
    if (node->HasAttribute("InitialVelocity"))
    {
        actor.m_VectorF = VectorAttribute(node, "InitialVelocity", Vector3());
        actor.m_ApplyVectorF = true;
    }
    actor.m_SkeletonIndex = IndexOf(node->GetAttribute("Skeleton", ""), skeletons, "skeleton");
    actor.m_BoneName = node->GetAttribute("Bone", "");
    actor.m_BoneDriven = node->GetAttribute<bool>("BoneDriven", false);
    actor.m_ReferencePosition = VectorAttribute(node, "ReferencePosition", actor.m_Position);
    actor.m_ReferenceRotation = RotationAttribute(node, "ReferenceOrientation");
    ForEachChild(node, "Shape", [&](const xml::CNodePtr& shape) { actor.m_Shapes.push_back(ReadShape(shape)); });
    ForEachChild(node, "Model", [&](const xml::CNodePtr& model) { actor.m_Models.push_back(ReadModel(model)); });
    return actor;
}

PhysicsJoint ReadJoint(const xml::CNodePtr& node, const std::vector<std::string>& actors)
{
    PhysicsJoint joint;
    joint.m_Name = node->GetAttribute("Name", "Joint");
    joint.m_Kind = JointKind(node->GetAttribute("Kind", "Spherical"));
    joint.m_Actors[0] = IndexOf(node->GetAttribute("Actor1", ""), actors, "actor");
    joint.m_Actors[1] = IndexOf(node->GetAttribute("Actor2", ""), actors, "actor");
    joint.m_Anchor = VectorAttribute(node, "Anchor", Vector3());
    joint.m_Axis = VectorAttribute(node, "Axis", {0.0f, 0.0f, 1.0f});
    joint.m_Normal = VectorAttribute(node, "Normal", {1.0f, 0.0f, 0.0f});
    joint.m_MaxForce = node->GetAttribute<float>("MaxForce", 0.0f);
    joint.m_MaxTorque = node->GetAttribute<float>("MaxTorque", 0.0f);
    joint.m_CollideConnected = node->GetAttribute<bool>("CollideConnected", false);
    if (node->HasChild("Limits"))
    {
        const xml::CNodePtr limits = node->GetChild("Limits");
        joint.m_LimitsEnabled = true;
        joint.m_LimitA = limits->GetAttribute<float>("A", 0.0f);
        joint.m_LimitB = limits->GetAttribute<float>("B", 0.0f);
        joint.m_LimitC = limits->GetAttribute<float>("C", 0.0f);
    }
    ForEachChild(node, "Spring", [&](const xml::CNodePtr& spring) {
        const int index = spring->GetAttribute<int>("Index", 1);
        if (index < 1 || index > 3)
            throw std::invalid_argument("a joint's spring index is 1, 2 or 3");
        PhysicsJoint::CSpring& s = joint.m_Springs[index - 1];
        s.m_Enabled = true;
        s.m_Target = spring->GetAttribute<float>("Target", 0.0f);
        s.m_Spring = spring->GetAttribute<float>("Spring", 0.0f);
        s.m_Damper = spring->GetAttribute<float>("Damper", 0.0f);
    });
    if (node->HasChild("Motor"))
    {
        const xml::CNodePtr motor = node->GetChild("Motor");
        joint.m_MotorEnabled = true;
        joint.m_Motor[0] = motor->GetAttribute<float>("Velocity", 0.0f);
        joint.m_Motor[1] = motor->GetAttribute<float>("MaxForce", 0.0f);
    }
    if (node->HasChild("Projection"))
    {
        const xml::CNodePtr projection = node->GetChild("Projection");
        joint.m_ProjectionMode = 1;
        joint.m_ProjectionDistance = projection->GetAttribute<float>("Distance", 0.0f);
        joint.m_ProjectionAngle = projection->GetAttribute<float>("Angle", 0.0872f);
    }
    return joint;
}

// The skeleton's actors carry exactly the listed bones.
void CheckBoneList(const xml::CNodePtr& root, const PhysicsEntity& entity, const std::vector<std::string>& skeletons)
{
    const std::vector<CBoneEntry> bones = ReadBoneList(root);
    const std::string skeletonName = root->GetChild("Bones")->GetAttribute("Skeleton", "");
    const std::int32_t skeleton = IndexOf(skeletonName, skeletons, "skeleton");
    std::set<std::string> listed;
    std::set<std::string> meshOnly;
    for (const CBoneEntry& bone : bones)
        (bone.m_HasActor ? listed : meshOnly).insert(bone.m_Name);
    std::set<std::string> carried;
    for (const PhysicsActor& actor : entity.m_Actors)
        if (actor.m_SkeletonIndex == skeleton && skeleton >= 0)
        {
            if (meshOnly.count(actor.m_BoneName))
                throw std::invalid_argument("actor '" + actor.m_Name + "' carries bone '" + actor.m_BoneName +
                                            "', which \"Bones\" gives the mesh alone");
            if (!listed.count(actor.m_BoneName))
                throw std::invalid_argument("actor '" + actor.m_Name + "' carries bone '" + actor.m_BoneName +
                                            "', which \"Bones\" does not list");
            carried.insert(actor.m_BoneName);
        }
    for (const std::string& name : listed)
        if (!carried.count(name))
            throw std::invalid_argument("no actor of skeleton '" + skeletonName + "' carries the listed bone '" + name +
                                        "'");
}

} // namespace

std::vector<CBoneEntry> ReadBoneList(const xml::CNodePtr& root)
{
    std::vector<CBoneEntry> bones;
    if (!root->HasChild("Bones"))
        return bones;
    std::set<std::string> seen;
    ForEachChild(root->GetChild("Bones"), "Bone", [&](const xml::CNodePtr& node) {
        CBoneEntry bone{node->GetAttribute("Name")->GetValue(), node->GetAttribute("Parent", ""),
                        node->GetAttribute<bool>("Actor", true),
                        node->GetAttribute<sds::CVector>("Position", sds::CVector())};
        if (!seen.insert(bone.m_Name).second)
            throw std::invalid_argument("bone '" + bone.m_Name + "' is listed twice");
        if (!bone.m_Parent.empty() && !seen.count(bone.m_Parent))
            throw std::invalid_argument("bone '" + bone.m_Name + "' is listed before its parent '" + bone.m_Parent +
                                        "'");
        bones.push_back(bone);
    });
    return bones;
}

float ReadSourceVersion(const xml::CNodePtr& root)
{
    return root->GetAttribute<float>("Version", kVersion14);
}

Zavuvi::PhysicsEntity ReadPhysicsSource(const xml::CNodePtr& root)
{
    PhysicsEntity entity;
    entity.m_Version = ReadSourceVersion(root);
    std::vector<std::string> skeletons;
    ForEachChild(root, "Skeleton", [&](const xml::CNodePtr& node) {
        entity.m_SkeletonModels.push_back(ReadModel(node));
        skeletons.push_back(entity.m_SkeletonModels.back().m_Name);
    });
    std::vector<std::string> actors;
    ForEachChild(root, "Actor", [&](const xml::CNodePtr& node) {
        entity.m_Actors.push_back(ReadActor(node, skeletons));
        actors.push_back(entity.m_Actors.back().m_Name);
    });
    ForEachChild(root, "Joint", [&](const xml::CNodePtr& node) { entity.m_Joints.push_back(ReadJoint(node, actors)); });
    if (root->HasChild("Bones"))
        CheckBoneList(root, entity, skeletons);
    return entity;
}

} // namespace phsgen
