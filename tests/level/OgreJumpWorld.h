#pragma once

// The program's game mode (JumpWorld.h) over the rendering engine's graphics:
// the shipped drop zone loaded as the program loads it, its terrain and
// surface objects paged around the camera and their collision meshes baked
// into the physics world as the jumper nears them. Nothing is drawn unless
// the caller renders. Shared by the level's display tests and bench_session.

#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneManager.h>

#include "JumpWorld.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "scene/ogre/OgreZoneLoader.h"

class COgreZoneGfx : public wrappers::COgreGfxMgr
{
public:
    COgreZoneGfx(CFakeApplication& application, Ogre::RenderWindow* window, Ogre::SceneManager* level)
        : COgreGfxMgr(window, level, &application)
    {
        wrappers::UseOgreZoneLoader(*this);
    }
};

typedef CJumpWorldOver<COgreZoneGfx> COgreJumpWorld;
