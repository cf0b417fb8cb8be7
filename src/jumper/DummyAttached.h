#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/IAttachmentPoint.h"

namespace sds {

// A point at the world position of a graphic object: the base of the copy
// and object points, whose object a toggle also takes its turn from.
class CDummyAttached : public IAttachmentPoint
{
public:
    // m_Pos becomes the object's world position.
    void Update(const CTiming& timing) override;
    ~CDummyAttached() override = default;

    const CGfxObjPtr& GetObject() const { return m_Object; }

protected:
    CDummyAttached() = default;
    explicit CDummyAttached(const CGfxObjPtr& object) : m_Object(object) {}

    CGfxObjPtr m_Object;
};

typedef std::shared_ptr<CDummyAttached> CDummyAttachedPtr;

} // namespace sds
