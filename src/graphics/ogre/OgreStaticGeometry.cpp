#include "graphics/ogre/OgreStaticGeometry.h"

#include "core/Exception.h"
#include "core/Helpers.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreGfxObjBase.h"

namespace wrappers {

namespace {

unsigned g_StaticMeshCount = 0;

} // namespace

void COgreStaticGeometry::AddObject(const sds::CGfxObjPtr& object, const sds::CVector& position,
                                    const sds::CQuaternion& orientation, const sds::CVector& scale)
{
    Ogre::Entity* entity = static_cast<COgreGfxObjBase&>(*object).GetEntity();
    SDS_ASSERT(entity && "Entity must exist");
    m_pGeometry->addEntity(entity, ToOgre(position), ToOgre(orientation), ToOgre(scale));
}

void COgreStaticGeometry::AddObjectAndDetach(const sds::CGfxObjPtr& object, const sds::CVector& position,
                                             const sds::CQuaternion& orientation, const sds::CVector& scale)
{
    COgreGfxObjBase& base = static_cast<COgreGfxObjBase&>(*object);
    if (Ogre::SceneNode* node = base.GetAttachNode()) {
        m_pGeometry->addSceneNode(node);
        if (node->getParentSceneNode())
            node->getParentSceneNode()->removeChild(node);
        base.ReleaseNode();
        node->detachAllObjects();
        m_pSceneManager->destroySceneNode(node);
    } else if (base.GetEntity() && !base.GetEntity()->isAttached()) {
        AddObject(object, position, orientation, scale);
    }
}

void COgreStaticGeometry::AddMesh(const std::string& meshName, const sds::CVector& position,
                                  const sds::CQuaternion& orientation, const sds::CVector& scale)
{
    std::string name = meshName + "_st_" + sds::ToString(g_StaticMeshCount++);
    while (m_pSceneManager->hasEntity(name))
        name = meshName + "_st_" + sds::ToString(g_StaticMeshCount++);
    Ogre::Entity* entity = m_pSceneManager->createEntity(name, meshName + ".mesh");
    m_MeshEntities.push_back(entity);
    m_pGeometry->addEntity(entity, ToOgre(position), ToOgre(orientation), ToOgre(scale));
}

} // namespace wrappers
