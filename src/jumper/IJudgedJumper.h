#pragma once

#include <memory>
#include <string>

namespace physics {
class IPhyJumper;
}

namespace sds {

// What a landing judge asks of the jumper it judges: its name for the log, its
// body for speeds and contacts, and the landing states a verdict sends it to.
class IJudgedJumper
{
public:
    // The landing states a judge's table row can name.
    enum ELanding
    {
        LANDING_NORMAL,
        LANDING_CRASH,
        // Not a landing: the jump ends where the jumper touched (the force-field edition's judge).
        LANDING_TELEPORT,
    };

    virtual ~IJudgedJumper() = default;
    virtual std::string GetName() const = 0;
    virtual std::shared_ptr<physics::IPhyJumper> GetPhyJumper() const = 0;
    // Changes to that landing state (nothing when it is current already);
    // throws std::runtime_error "!m_States.empty() && \"No states are added\""
    // while the jumper has no state.
    virtual void Land(ELanding landing) = 0;
};

} // namespace sds
