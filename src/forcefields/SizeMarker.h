#pragma once

#include <string>

#include "forcefields/RadiusMarker.h"

namespace sds {
namespace DovuvUvozeVozediza {

// The handle at the +x, +y corner of a force field's area, and the area drawn
// as a flat box. Dragging it to either side of the centre sizes the area
// symmetrically; the area's depth is written as 20.
class CSizeMarker : public CRadiusMarker
{
public:
    // `size` is the "Size" attribute of the field's "Shape"; it is rewritten at once.
    CSizeMarker(const xml::CNodePtr& size, CForceFieldMarker* owner);
    ~CSizeMarker() override;

    void Select() override;
    void Deselect() override;
    // The area follows the handle while it is dragged.
    void SetPos(const CVector& pos) override;
    void UpdateNode() override;

    CGfxObjPtr GetAreaObj() const { return m_AreaObj; }

private:
    CGfxObjPtr m_AreaObj;
    std::string m_AreaMaterial;
    std::string m_AreaSelectedMaterial;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
