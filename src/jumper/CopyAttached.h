#pragma once

#include "jumper/DummyAttached.h"

namespace sds {

// A point that follows any object of the scene.
class CCopyAttached : public CDummyAttached
{
public:
    explicit CCopyAttached(const CGfxObjPtr& object) : CDummyAttached(object) {}
};

} // namespace sds
