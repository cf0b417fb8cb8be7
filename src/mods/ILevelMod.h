#pragma once

#include <string>

#include <boost/noncopyable.hpp>

#include "core/Timing.h"

namespace sds {

// One concern of a level (HUD, physics, loading, event routing, ...). The game
// mode creates the mods in a fixed order and walks them in that order.
class ILevelMod : public IUpdate, private boost::noncopyable
{
public:
    // Logs "Using Mod: " and the name.
    explicit ILevelMod(const std::string& name);
    void Update(const CTiming& timing) override {}
    // Logs "Done using Mod: " and the name.
    ~ILevelMod() override;
    // Prepares a new jump of the same level.
    virtual void Restart() {}
    // Another engine state covers the game mode.
    virtual void Pause() {}
    virtual void Resume() {}

    const std::string& GetName() const { return m_Name; }

private:
    std::string m_Name;
};

} // namespace sds
