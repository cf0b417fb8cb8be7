#pragma once

#include <limits>
#include <memory>
#include <vector>

#include "graphics/IGfxMgr.h"
#include "scene/ogre/MeshToTriangles.h"
#include "scene/ogre/paging/GeometryPage.h"

namespace wrappers {

// What a page remembers of the entities placed on it, so that each placed
// object yields its collision meshes once.
class CPageEntities
{
public:
    struct CRecord
    {
        Ogre::Entity* m_Entity;
        Ogre::Vector3 m_Position;
        Ogre::Vector3 m_Scale;
        Ogre::Quaternion m_Rotation;
        bool m_Taken = false;
    };

    virtual ~CPageEntities() = default;

    // Appends a record unless the same placement is recorded, and raises the
    // highest top to the entity's.
    void Record(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                const Ogre::Vector3& scale);
    // Converts the records not yet taken whose horizontal distance from the
    // point is at most the radius, and appends their meshes to the output,
    // but for those `isBaked` knows already. Nothing when every record is
    // taken or the point is `reach` or more above the highest top.
    void Collect(const Ogre::Vector3& point, float reach, float radius, sds::IGfxMgr::CObjectQueue& output,
                 const sds::CIsBaked& isBaked = sds::CIsBaked());

    float GetHighestTop() const { return m_HighestTop; }
    const std::vector<CRecord>& GetRecords() const { return m_Records; }

private:
    float m_HighestTop = -std::numeric_limits<float>::max();
    std::size_t m_Taken = 0;
    std::vector<CRecord> m_Records;
    CTriangleMeshes m_Pending;
};

// A page type T that also records what is placed on it.
template <class T>
class CPageWithEntitiesInfoTmpl : public T, public CPageEntities
{
public:
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& color) override
    {
        Record(entity, position, rotation, scale);
        T::addEntity(entity, position, rotation, scale, color);
    }
};

} // namespace wrappers
