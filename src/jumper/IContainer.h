#pragma once

#include <memory>

#include "jumper/ICanopy.h"
#include "jumper/IDBag.h"
#include "jumper/IPilotChute.h"
#include "jumper/ISlider.h"
#include "jumper/VisObj.h"

namespace sds {

// The rig the jumper wears. The jumper's states stage the deployment through
// it, once each and in this order: the pilot chute and bridle out, the D-bag
// and lines out, the inflation. Under canopy the hands make a toggle or a
// riser follow them, or send a riser back to rest.
class IContainer : public CVisObj
{
public:
    ~IContainer() override = default;

    virtual void CreateBridleLine() = 0;
    virtual void CreateLines() = 0;
    virtual void BeginInflation() = 0;
    virtual CCanopyPtr GetCanopy() const = 0;
    virtual CPilotChutePtr GetPilotChute() const = 0;
    virtual CDBagPtr GetDBag() const = 0;
    // Hides the pilot chute and drops the first bridle-line segment.
    virtual void HidePilotChute() = 0;
    virtual CSliderPtr GetSlider() const = 0;
    // Under canopy, after CreateLines.
    virtual void TakeLeftToggle() = 0;
    virtual void TakeRightToggle() = 0;
    virtual void GrabLeftFrontRiser() = 0;
    virtual void GrabLeftRearRiser() = 0;
    virtual void GrabRightFrontRiser() = 0;
    virtual void GrabRightRearRiser() = 0;
    virtual void ReleaseLeftFrontRiser() = 0;
    virtual void ReleaseLeftRearRiser() = 0;
    virtual void ReleaseRightFrontRiser() = 0;
    virtual void ReleaseRightRearRiser() = 0;
};

typedef std::shared_ptr<IContainer> CContainerPtr;

} // namespace sds
