#include "jumper/ObjAttached.h"

#include <sstream>

namespace sds {

CObjAttached::CObjAttached(const xml::CNodePtr& element, const CGfxObjPtr& parent, const CVector& extraOffset)
{
    // The point's address makes the marker's name unique among living points.
    std::ostringstream name;
    name << element->GetName() << static_cast<const void*>(this);
    m_Object = parent->CreateChild(name.str(), "cube");
    m_Object->SetPos(xml::ParseVector(element->GetAttribute("Offset")->GetValue()) + extraOffset);
    m_Object->SetScale(CVector(0.001f, 0.001f, 0.001f));
    m_Object->SetVisible(false);
}

} // namespace sds
