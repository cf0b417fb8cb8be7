#pragma once

#include "core/Node.h"
#include "jumper/DummyAttached.h"

namespace sds {

// A point at a fixed offset of a parent object: it makes a hidden marker,
// a child of the parent at the element's "Offset" plus an extra offset (in the
// parent's space), and follows it.
class CObjAttached : public CDummyAttached
{
public:
    // Throws the XML layer's exception for a missing "Offset".
    CObjAttached(const xml::CNodePtr& element, const CGfxObjPtr& parent, const CVector& extraOffset);
};

} // namespace sds
