#pragma once

#include <memory>

#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

class IConvexMesh;
class IScene;
class IStream;
class ITriangleMesh;
class IUserOutputStream;
struct CSceneDesc;

// The physics layer: scenes and the meshes read back from cooked bytes.
class ISdk
{
public:
    virtual ~ISdk() = default; // releases the scenes still alive

    virtual IScene* CreateScene(const CSceneDesc& desc) = 0;
    virtual void ReleaseScene(IScene& scene) = 0;

    // Null, with the reason sent to the output stream, when the bytes are not a cooked mesh.
    virtual ITriangleMesh* CreateTriangleMesh(const IStream& cooked) = 0;
    virtual void ReleaseTriangleMesh(ITriangleMesh& mesh) = 0;
    virtual IConvexMesh* CreateConvexMesh(const IStream& cooked) = 0;
    virtual void ReleaseConvexMesh(IConvexMesh& mesh) = 0;

    // Scenes take the parameters in force when they are created.
    virtual void SetParameter(ESdkParameter parameter, float value) = 0;
    virtual float GetParameter(ESdkParameter parameter) const = 0;
};

// `output` (may be null: standard error) must outlive the SDK.
std::unique_ptr<ISdk> CreatePhysicsSdk(IUserOutputStream* output);

} // namespace physics::sdk
