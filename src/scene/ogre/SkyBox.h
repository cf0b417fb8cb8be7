#pragma once

#include <array>
#include <string>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreRenderQueueListener.h>
#include <OGRE/OgreSceneManager.h>

namespace wrappers {

// A box of six textured planes at a distance around the origin, drawn before
// everything else (the early sky render-queue group). Face i shows frame i of
// the sky material's first texture when it has that many frames, in the order
// front, back, left, right, up, down.
class CSkyBox : public Ogre::RenderQueueListener
{
public:
    // A material the material manager does not have throws
    // "Sky box material not found: <name>" and leaves nothing behind.
    CSkyBox(const std::string& material, float distance, Ogre::SceneManager* sceneMgr);
    ~CSkyBox() override;
    CSkyBox(const CSkyBox&) = delete;
    CSkyBox& operator=(const CSkyBox&) = delete;

    void renderQueueStarted(Ogre::uint8 queueGroupId, const Ogre::String& invocation, bool& skipThisInvocation) override;
    void renderQueueEnded(Ogre::uint8, const Ogre::String&, bool&) override {}

    static const int kFaces = 6;
    Ogre::Entity* GetFace(int index) const { return m_Faces[index]; }

private:
    void DestroyScene();

    Ogre::SceneNode* m_Node;
    std::array<Ogre::Entity*, kFaces> m_Faces{};
    Ogre::SceneManager* m_SceneMgr;
};

} // namespace wrappers
