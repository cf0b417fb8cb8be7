#pragma once

namespace sds {

// Keeps a body that is not in use in line with the one that is: its owner calls
// Sync once every physics step.
class ISyncObj
{
public:
    virtual void Sync() = 0;
    virtual ~ISyncObj() = default;
};

} // namespace sds
