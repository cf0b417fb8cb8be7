#pragma once

#include <string>
#include <vector>

#include "graphics/IStaticGeometry.h"

namespace sds {

// A static batch of the in-memory graphics: it records what was added.
class CMemStaticGeometry : public IStaticGeometry
{
public:
    struct CPlacement
    {
        std::string m_Mesh;
        CVector m_Position;
        CQuaternion m_Orientation;
        CVector m_Scale;
    };

    explicit CMemStaticGeometry(const std::string& name) : m_Name(name) {}

    void AddObject(const CGfxObjPtr& object, const CVector& position, const CQuaternion& orientation,
                   const CVector& scale) override;
    void AddObjectAndDetach(const CGfxObjPtr& object, const CVector& position, const CQuaternion& orientation,
                            const CVector& scale) override;
    void AddMesh(const std::string& meshName, const CVector& position, const CQuaternion& orientation,
                 const CVector& scale) override;
    void Build() override { ++m_Builds; }
    bool IsVisible() const override { return m_Visible; }
    void SetVisible(bool visible) override { m_Visible = visible; }

    std::string m_Name;
    std::vector<CPlacement> m_Placements;
    int m_Builds = 0;
    bool m_Visible = true;
};

} // namespace sds
