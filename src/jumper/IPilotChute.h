#pragma once

#include <memory>

#include "core/Node.h"
#include "jumper/VisObj.h"

namespace sds {

// The pilot chute as the rig and the deployment see it.
class IPilotChute : public CVisObj
{
public:
    ~IPilotChute() override = default;
    // "Inflating" off, then left to run by itself.
    virtual void StopInflating() = 0;
    // "Inflating" plays backwards from where it stands.
    virtual void ReverseInflating() = 0;
    // The "PilotChute" model element.
    virtual xml::CNodePtr GetConfig() const = 0;
};

typedef std::shared_ptr<IPilotChute> CPilotChutePtr;

} // namespace sds
