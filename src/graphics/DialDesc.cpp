#include "graphics/DialDesc.h"

#include <cmath>

#include "core/Exception.h"
#include "graphics/GfxConfig.h"

namespace sds {

CRenderTargetDesc CRenderTargetDesc::Read(const xml::CNodePtr& element)
{
    CRenderTargetDesc desc;
    desc.m_Width = ReadIntInRange(element, "Width", 1, kMaxSize);
    desc.m_Height = ReadIntInRange(element, "Height", 1, kMaxSize);
    desc.m_ZOrder = element->GetAttribute("ZOrder")->GetValue<int>();
    desc.m_Background = ReadColour(element, "BgColor");
    desc.m_NearClip = element->GetAttribute("NearClipDistance")->GetValue<float>();
    desc.m_FarClip = element->GetAttribute("FarClipDistance")->GetValue<float>();
    desc.m_CameraPos = element->GetAttribute("CameraPos")->GetValue<CVector>();
    desc.m_CameraRotation = element->GetAttribute("CameraRotation")->GetValue<CVector>();
    // The camera takes no other: the engine asserts on them.
    if (!(desc.m_NearClip > 0.0f) || !std::isfinite(desc.m_NearClip) || !(desc.m_FarClip >= 0.0f) ||
        !std::isfinite(desc.m_FarClip))
        throw CException(element->GetPath() + ": the clip distances must be finite, the near one above 0");
    return desc;
}

CDialPartDesc CDialPartDesc::Read(const xml::CNodePtr& element)
{
    CDialPartDesc desc;
    desc.m_Material = element->GetAttribute("Material")->GetValue();
    desc.m_Position = element->GetAttribute("Position")->GetValue<CVector>();
    desc.m_Orientation = element->GetAttribute("Orientation")->GetValue<CQuaternion>();
    // A zero text would turn the quad into nothing: it stands for no turn.
    desc.m_Orientation.NormaliseQuaternion();
    desc.m_Scale = element->GetAttribute("Scale")->GetValue<CVector>();
    return desc;
}

CDigitalDialDesc CDigitalDialDesc::Read(const xml::CNodePtr& element)
{
    CDigitalDialDesc desc;
    desc.m_Overlay = element->GetAttribute("Overlay")->GetValue();
    desc.m_Value = element->GetAttribute("Value")->GetValue();
    return desc;
}

} // namespace sds
