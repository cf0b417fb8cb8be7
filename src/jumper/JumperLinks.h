#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Node.h"
#include "graphics/IGfxObj.h"
#include "jumper/ICollisionJudge.h"

namespace sds {

class CJumper;
class IInputModes;
class IJumpEndDisplay;
class ILandingCamera;

// What a jumper reaches outside its own layer; each may be absent. Without an
// aircraft the jumper stands at the door under the scene's root; without a
// judge factory, or for an edition the factory has no judge for, it gets a
// judge that never judges; without a clock it reads
// the wall clock. The level names the trajectory after its drop zone and
// gives the height its altimeters read as zero.
struct CJumperLinks
{
    std::string TrajectoryName = "Unknown";
    float AltimeterReference = 0.0f;
    CGfxObjPtr Aircraft;
    IInputModes* InputModes = nullptr;
    IJumpEndDisplay* JumpEnd = nullptr;
    ILandingCamera* LandingCamera = nullptr;
    CCollisionJudgeFactory JudgeFactory;
    std::function<std::uint64_t()> Clock;
};

} // namespace sds
