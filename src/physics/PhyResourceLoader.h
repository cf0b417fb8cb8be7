#pragma once

#include <cstdint>

#include "core/Node.h"
#include "core/services/ILevelResourceLoader.h"

namespace physics {

class CPhyMgr;
class CWindMgr;

// The physics part of a level: the drop zone's elevation and its wind regions,
// loaded again for every jump.
class CPhyResourceLoader : public sds::ILevelResourceLoader
{
public:
    // `physics` is the drop zone's physics element with its "Wind" child and
    // its "Info" "Drop zone elevation".
    CPhyResourceLoader(const xml::CNodePtr& physics, CWindMgr& windMgr, CPhyMgr& world);
    ~CPhyResourceLoader() override;

    void Update(const sds::CTiming& timing) override;
    void Restart() override;

private:
    // The world's wind manager, while that world lives.
    CWindMgr* GetWindMgr() const;

    std::uint64_t m_World; // the world's serial
    CWindMgr* m_WindMgr;
    xml::CNodePtr m_Wind;
};

} // namespace physics
