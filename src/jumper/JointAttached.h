#pragma once

#include <string>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "graphics/IGfxObj.h"
#include "jumper/IAttachmentPoint.h"

namespace sds {

// The joint of that name of the object's skeleton; throws CException "Joint
// does not exist: " and the name when the object has no such joint.
CJointPtr GetJoint(const CGfxObjPtr& object, const std::string& name);

// A point fixed to a bone: a hidden marker hangs on the bone of the element's
// "Joint" where the element's "Offset" (a point in the model's space in the
// pose it has now) plus an extra offset is, and turns with the bone.
class CJointAttached : public IAttachmentPoint
{
public:
    // Throws CException for a joint the skeleton lacks, and the XML layer's
    // exceptions for a missing "Joint" or "Offset".
    CJointAttached(const xml::CNodePtr& element, const CGfxObjPtr& object, const CVector& extraOffset);
    // m_Pos becomes the marker's world position.
    void Update(const CTiming& timing) override;
    ~CJointAttached() override = default;

    // The marker's world orientation now.
    CQuaternion GetOrientation() const;
    void HideMarker();
    const CGfxObjPtr& GetMarker() const { return m_Marker; }

private:
    CGfxObjPtr m_Marker;
};

} // namespace sds
