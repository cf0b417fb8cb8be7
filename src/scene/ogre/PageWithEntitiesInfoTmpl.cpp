#include "scene/ogre/PageWithEntitiesInfoTmpl.h"

#include <algorithm>

namespace wrappers {

void CPageEntities::Record(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                           const Ogre::Vector3& scale)
{
    const bool known = std::any_of(m_Records.begin(), m_Records.end(), [&](const CRecord& r) {
        return r.m_Entity == entity && r.m_Position == position && r.m_Scale == scale && r.m_Rotation == rotation;
    });
    if (known)
        return;
    m_Records.push_back({entity, position, scale, rotation});
    m_HighestTop = std::max(m_HighestTop, entity->getBoundingBox().getMaximum().y * scale.y + position.y);
}

void CPageEntities::Collect(const Ogre::Vector3& point, float reach, float radius, sds::IGfxMgr::CObjectQueue& output,
                            const sds::CIsBaked& isBaked)
{
    if (m_Taken == m_Records.size() || !(point.y - m_HighestTop < reach))
        return;
    for (CRecord& record : m_Records) {
        if (record.m_Taken)
            continue;
        const Ogre::Vector3 level(point.x, record.m_Position.y, point.z);
        if (record.m_Position.distance(level) > radius)
            continue;
        MeshToTriangles(*record.m_Entity->getMesh(), m_Pending, record.m_Position, record.m_Rotation, record.m_Scale,
                        isBaked);
        record.m_Taken = true;
        ++m_Taken;
    }
    output.insert(output.end(), m_Pending.begin(), m_Pending.end());
    m_Pending.clear();
}

} // namespace wrappers
