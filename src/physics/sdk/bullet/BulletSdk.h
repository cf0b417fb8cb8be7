#pragma once

#include <map>
#include <memory>
#include <vector>

#include "physics/sdk/ISdk.h"

namespace physics::sdk {

class CBulletConvexMesh;
class CBulletScene;
class CBulletTriangleMesh;

class CBulletSdk final : public ISdk
{
public:
    explicit CBulletSdk(IUserOutputStream* output);
    ~CBulletSdk() override;

    IScene* CreateScene(const CSceneDesc& desc) override;
    void ReleaseScene(IScene& scene) override;
    ITriangleMesh* CreateTriangleMesh(const IStream& cooked) override;
    void ReleaseTriangleMesh(ITriangleMesh& mesh) override;
    IConvexMesh* CreateConvexMesh(const IStream& cooked) override;
    void ReleaseConvexMesh(IConvexMesh& mesh) override;
    void SetParameter(ESdkParameter parameter, float value) override;
    float GetParameter(ESdkParameter parameter) const override;

    IUserOutputStream* GetOutput() const { return m_Output; }
    // Shapes share a mesh with the SDK; it lives as long as one of them holds it.
    std::shared_ptr<CBulletTriangleMesh> FindTriangleMesh(const ITriangleMesh* mesh) const;
    std::shared_ptr<CBulletConvexMesh> FindConvexMesh(const IConvexMesh* mesh) const;

private:
    IUserOutputStream* m_Output;
    float m_SkinWidth = 0.025f;
    std::vector<std::unique_ptr<CBulletScene>> m_Scenes;
    std::map<const ITriangleMesh*, std::shared_ptr<CBulletTriangleMesh>> m_TriangleMeshes;
    std::map<const IConvexMesh*, std::shared_ptr<CBulletConvexMesh>> m_ConvexMeshes;
};

} // namespace physics::sdk
