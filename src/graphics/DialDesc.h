#pragma once

#include <string>

#include "core/Exception.h"
#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Vector.h"

// What a dial is made of, read once from the instrument model's elements. Every
// key is required; a missing one throws the XML layer's exception naming it.
namespace sds {

// The texture a dial renders into and the camera that looks at its face.
struct CRenderTargetDesc
{
    // "Width", "Height" (pixels), "ZOrder", "BgColor", "NearClipDistance",
    // "FarClipDistance", "CameraPos", "CameraRotation" (pitch, yaw, roll in degrees).
    static CRenderTargetDesc Read(const xml::CNodePtr& element);

    static const int kMaxSize = 4096;

    int m_Width = 0;
    int m_Height = 0;
    int m_ZOrder = 0;
    CFourFloats m_Background;
    float m_NearClip = 0.0f;
    float m_FarClip = 0.0f;
    CVector m_CameraPos;
    CVector m_CameraRotation;
};

// A quad of an analog dial: the face, or the needle relative to its pivot.
struct CDialPartDesc
{
    // "Material", "Position", "Orientation" (w, x, y, z), "Scale".
    static CDialPartDesc Read(const xml::CNodePtr& element);

    std::string m_Material;
    CVector m_Position;
    CQuaternion m_Orientation;
    CVector m_Scale;
};

// The overlay a digital dial renders and its read-out element.
struct CDigitalDialDesc
{
    // A dial element with "Overlay" or "Value" describes a digital dial (so
    // that a digital dial missing the other key fails naming it).
    static bool IsDigital(const xml::CNodePtr& element)
    {
        return element->HasAttribute("Overlay") || element->HasAttribute("Value");
    }
    // "Overlay" and "Value".
    static CDigitalDialDesc Read(const xml::CNodePtr& element);
    // The failures of a name that no overlay script defines.
    static CException NoOverlay(const std::string& name) { return CException("Overlay '" + name + "' was not found"); }
    static CException NoElement(const std::string& name)
    {
        return CException("Overlay element '" + name + "' was not found");
    }

    std::string m_Overlay;
    std::string m_Value;
};

} // namespace sds
