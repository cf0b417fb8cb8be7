#pragma once

#include <cstdint>

#include "core/BoundingBox.h"
#include "physics/IWindRegion.h"
#include "physics/sdk/IUserData.h"

namespace physics {

namespace sdk {
class IActor;
}

// A box of air blowing "Direction" x "Speed" (the direction is not
// normalised). Its trigger box in the scene tells the bodies inside that it is
// there. Read from a "Region" element: "Direction", "Speed", an optional
// "RandomSpeed" child (the speed times a random factor in [0, 1), drawn at
// each reading) and the "Shape" child's "Position" (the centre) and "Size".
class CWindRegion : public IWindRegion, public sdk::IUserData
{
public:
    explicit CWindRegion(const xml::CNodePtr& node);
    ~CWindRegion() override;
    CWindRegion(const CWindRegion&) = delete;
    CWindRegion& operator=(const CWindRegion&) = delete;

    void Update(const sds::CTiming& timing) override;
    // Direction x speed inside the box (its faces included), nothing outside.
    sds::CVector GetWind(const sds::CVector& position) override;
    void Load(const xml::CNodePtr& node) override;
    xml::CNodePtr GetNode() const override { return m_Node; }

    const sds::CBoundingBox& GetBox() const { return m_Box; }
    sdk::IActor* GetActor() const { return m_Actor; }

protected:
    bool Contains(const sds::CVector& position) const;

    sdk::IActor* m_Actor = nullptr;
    sds::CVector m_Direction;
    float m_Speed = 0.0f;
    sds::CBoundingBox m_Box;
    xml::CNodePtr m_Node;

private:
    void Read(const xml::CNodePtr& node);
    // The trigger box, made or moved to the box read last.
    void PlaceTrigger();

    std::uint64_t m_World = 0; // the serial of the world its box is in
};

} // namespace physics
