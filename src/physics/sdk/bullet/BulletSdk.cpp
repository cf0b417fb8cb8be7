#include "physics/sdk/bullet/BulletSdk.h"

#include <algorithm>
#include <exception>

#include "physics/sdk/CookedFormat.h"
#include "physics/sdk/bullet/BulletConvexMesh.h"
#include "physics/sdk/bullet/BulletMath.h"
#include "physics/sdk/bullet/BulletScene.h"
#include "physics/sdk/bullet/BulletTriangleMesh.h"
#include "physics/sdk/bullet/Report.h"

namespace physics::sdk {

std::unique_ptr<ISdk> CreatePhysicsSdk(IUserOutputStream* output)
{
    return std::make_unique<CBulletSdk>(output);
}

CBulletSdk::CBulletSdk(IUserOutputStream* output) : m_Output(output) {}

CBulletSdk::~CBulletSdk()
{
    m_Scenes.clear();
}

IScene* CBulletSdk::CreateScene(const CSceneDesc& desc)
{
    m_Scenes.push_back(std::make_unique<CBulletScene>(*this, desc, m_SkinWidth));
    return m_Scenes.back().get();
}

void CBulletSdk::ReleaseScene(IScene& scene)
{
    auto found = std::find_if(m_Scenes.begin(), m_Scenes.end(),
                              [&scene](const std::unique_ptr<CBulletScene>& own) { return own.get() == &scene; });
    if (found == m_Scenes.end())
    {
        SDK_REPORT(m_Output, ERR_INVALID_OPERATION, "ReleaseScene: the scene is not of this SDK");
        return;
    }
    m_Scenes.erase(found);
}

ITriangleMesh* CBulletSdk::CreateTriangleMesh(const IStream& cooked)
{
    try
    {
        auto mesh = std::make_shared<CBulletTriangleMesh>(ReadCookedTriangleMesh(cooked));
        m_TriangleMeshes[mesh.get()] = mesh;
        return mesh.get();
    }
    catch (const std::exception& e)
    {
        SDK_REPORT(m_Output, ERR_INVALID_PARAMETER, std::string("CreateTriangleMesh: ") + e.what());
        return nullptr;
    }
}

void CBulletSdk::ReleaseTriangleMesh(ITriangleMesh& mesh)
{
    if (!m_TriangleMeshes.erase(&mesh))
        SDK_REPORT(m_Output, ERR_INVALID_OPERATION, "ReleaseTriangleMesh: the mesh is not of this SDK");
}

IConvexMesh* CBulletSdk::CreateConvexMesh(const IStream& cooked)
{
    try
    {
        auto mesh = std::make_shared<CBulletConvexMesh>(ReadCookedConvexMesh(cooked));
        m_ConvexMeshes[mesh.get()] = mesh;
        return mesh.get();
    }
    catch (const std::exception& e)
    {
        SDK_REPORT(m_Output, ERR_INVALID_PARAMETER, std::string("CreateConvexMesh: ") + e.what());
        return nullptr;
    }
}

void CBulletSdk::ReleaseConvexMesh(IConvexMesh& mesh)
{
    if (!m_ConvexMeshes.erase(&mesh))
        SDK_REPORT(m_Output, ERR_INVALID_OPERATION, "ReleaseConvexMesh: the mesh is not of this SDK");
}

std::shared_ptr<CBulletTriangleMesh> CBulletSdk::FindTriangleMesh(const ITriangleMesh* mesh) const
{
    auto found = m_TriangleMeshes.find(mesh);
    return found == m_TriangleMeshes.end() ? nullptr : found->second;
}

std::shared_ptr<CBulletConvexMesh> CBulletSdk::FindConvexMesh(const IConvexMesh* mesh) const
{
    auto found = m_ConvexMeshes.find(mesh);
    return found == m_ConvexMeshes.end() ? nullptr : found->second;
}

void CBulletSdk::SetParameter(ESdkParameter parameter, float value)
{
    if (parameter != PARAM_SKIN_WIDTH || !IsFinite(value) || value < 0.0f)
    {
        SDK_REPORT(m_Output, ERR_INVALID_PARAMETER, "SetParameter: " + ToText(value) + " dropped");
        return;
    }
    m_SkinWidth = value;
}

float CBulletSdk::GetParameter(ESdkParameter parameter) const
{
    return parameter == PARAM_SKIN_WIDTH ? m_SkinWidth : 0.0f;
}

} // namespace physics::sdk
