#pragma once

namespace physics::sdk {

// What an actor's user data points to: the program's object that owns it.
class IUserData
{
public:
    virtual ~IUserData() = default;
};

} // namespace physics::sdk
