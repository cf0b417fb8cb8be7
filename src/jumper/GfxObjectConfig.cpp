#include "jumper/GfxObjectConfig.h"

#include "core/Helpers.h"
#include "graphics/IGfxMgr.h"

namespace sds {

CGfxObjPtr CreateGfxObject(const xml::CNodePtr& element, const CGfxObjPtr& parent)
{
    const std::string mesh = element->GetAttribute("Mesh")->GetValue();
    const CGfxObjPtr object = IGfxMgr::GetSingleton()->CreateObject(mesh, parent);
    PlaceGfxObject(element, object);
    return object;
}

void PlaceGfxObject(const xml::CNodePtr& element, const CGfxObjPtr& object)
{
    if (element->HasAttribute("Rotation"))
        object->SetYawPitchRoll(xml::ParseVector(element->GetAttribute("Rotation")->GetValue()));
    if (element->HasAttribute("Scale"))
        object->SetScale(xml::ParseVector(element->GetAttribute("Scale")->GetValue()));
    if (element->HasAttribute("Position"))
        object->SetPos(xml::ParseVector(element->GetAttribute("Position")->GetValue()));
}

bool ParseOrientation(const std::string& text, CQuaternion& orientation)
{
    float values[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    const bool complete = ReadSeparatedFloats(text, values, 4) == 4;
    orientation = CQuaternion(values[0], values[1], values[2], values[3]);
    // No rotation has length 0: a zero quaternion would flatten whatever it turns.
    orientation.NormaliseQuaternion();
    return complete;
}

CGfxObjPtr CreateLineObject(const xml::CNodePtr& meshElement)
{
    const CGfxObjPtr object = CreateGfxObject(meshElement, CGfxObjPtr());
    object->SetNormaliseNormals(true);
    return object;
}

CVector InParentSpace(const IGfxObj& object, const CVector& world)
{
    const CGfxObjPtr parent = object.GetParent();
    if (!parent)
        return world;
    CVector scale(1.0f, 1.0f, 1.0f);
    for (CGfxObjPtr node = parent; node; node = node->GetParent())
        scale = scale * node->GetScale();
    return (parent->GetWorldOrientation().Inverse() * (world - parent->GetWorldPos())) / scale;
}

void MoveUnder(const CGfxObjPtr& parent, const CGfxObjPtr& object)
{
    object->UpdateTransform();
    const CVector world = object->GetWorldPos();
    parent->AddChild(object);
    object->SetPos(InParentSpace(*object, world));
    object->UpdateTransform();
}

} // namespace sds
