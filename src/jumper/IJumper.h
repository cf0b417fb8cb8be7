#pragma once

#include <memory>
#include <string>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "core/services/Events.h"
#include "graphics/IGfxObj.h"
#include "jumper/VisObj.h"

namespace sds {

class ITrajectory;
class IContainer;

// The skydiver as the rest of the program sees it: the jumper manager updates
// it once a frame and hands it the named events meant for it; the camera,
// the mods, the overlays and the game mode read where it is and how it flies.
class IJumper : public CVisObj
{
public:
    ~IJumper() override = default;

    // Where the jumper is in the world.
    virtual CVector GetPos() const = 0;
    virtual CVector GetVelocity() const = 0;
    virtual std::string GetName() const = 0;
    virtual std::shared_ptr<IContainer> GetContainer() const = 0;
    virtual void OnDiscreteEvent(const CInternalEvent& event) = 0;
    virtual void OnAnalogEvent(const CInternalEvent& event) = 0;
    // The path flown so far.
    virtual const ITrajectory& GetTrajectory() const = 0;
    // The point the camera hangs on: the jumper's eyes.
    virtual CGfxObjPtr GetHelperObj() const = 0;
    virtual std::string GetAltimeterCaption() const = 0;
    // "Landing" ends the flight in a crash landing; other names are ignored.
    virtual void OnEvent(const std::string& name) = 0;
    // "LandingInfo": the body's figures, the wind strength and the judge's record.
    virtual xml::CNodePtr GetLandingInfo() const = 0;
    // How far the left (right) hand pulls its control, 0 to 1.
    virtual float GetLeftTurnValue() const = 0;
    virtual float GetRightTurnValue() const = 0;
    // Shows or hides the body (not the head or the rig).
    virtual void SetVisible(bool visible) = 0;
    // The event code of the control the hand holds, 0 for none.
    virtual int GetLeftHandControl() const = 0;
    virtual int GetRightHandControl() const = 0;

protected:
    IJumper() = default;
    explicit IJumper(const CGfxObjPtr& body) : CVisObj(body) {}
};

} // namespace sds
