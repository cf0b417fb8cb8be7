#pragma once

#include <string>

#include "forcefields/BaseMarker.h"

namespace sds {
namespace DovuvUvozeVozediza {

class CForceFieldMarker;

// A handle of a force field: the point of one of its force function's radii.
// It is shown only while its field or one of the field's handles is selected;
// its help line is the radius's own text.
class CRadiusMarker : public CBaseMarker
{
public:
    // `position` is the "Position" attribute of the "Radius" element `help`.
    CRadiusMarker(const xml::CNodePtr& position, const xml::CNodePtr& help, const std::string& id,
                  CForceFieldMarker* owner);
    ~CRadiusMarker() override;

    void Select() override;
    void Deselect() override;
    // Writes the handle, then the whole field.
    void SaveToScene() override;
    // Writes the handle's value into its node.
    virtual void UpdateNode();

protected:
    std::string m_Id;
    xml::CNodePtr m_HelpNode;
    CForceFieldMarker* m_Owner;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
