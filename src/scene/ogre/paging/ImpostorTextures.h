#pragma once

#include <map>
#include <string>
#include <vector>

#include <OGRE/OgreImage.h>

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreTexture.h>

namespace Forests {

// The pictures impostor pages draw: for each mesh, one texture holding views
// of it from kAngles directions around it, rendered once in the scene's
// light, and an unlit, alpha-tested material over it. One set serves every
// pager of a scene (handed to each with PagedGeometry::setShared); the
// pictures go with the last of them.
class ImpostorTextures
{
public:
    static const int kAngles = 8;
    static const int kFrameSize = 128;

    struct Impostor
    {
        std::string m_Material;
        // Edge of the square each view shows, and its centre in the mesh's frame.
        Ogre::Real m_Size = 0;
        Ogre::Vector3 m_Centre = Ogre::Vector3::ZERO;
    };

    explicit ImpostorTextures(Ogre::SceneManager* sceneMgr);
    ~ImpostorTextures();
    ImpostorTextures(const ImpostorTextures&) = delete;
    ImpostorTextures& operator=(const ImpostorTextures&) = delete;

    // The impostor of the entity's mesh, rendered on first use.
    const Impostor& get(Ogre::Entity* entity);
    std::size_t size() const { return m_Impostors.size(); }

    // The view to show of an object turned by `yaw` (radians) about y, seen
    // from the direction `toViewer` (object to viewer).
    static int frameFor(Ogre::Real yaw, const Ogre::Vector3& toViewer);

private:
    Impostor Render(const Ogre::MeshPtr& mesh);
    // A texture of the picture with its mipmaps made here, down to one pixel high.
    static Ogre::TexturePtr KeepWithMipmaps(const std::string& name, const Ogre::Image& picture);

    Ogre::SceneManager* m_SceneMgr;
    std::map<std::string, Impostor> m_Impostors;
    std::vector<Ogre::TexturePtr> m_Textures;
    std::vector<Ogre::MaterialPtr> m_Materials;
};

} // namespace Forests
