#include "jumper/Slider.h"

#include "jumper/AnimationRecord.h"
#include "jumper/GfxObjectConfig.h"

namespace sds {

CSlider::CSlider(const xml::CNodePtr& element, const CGfxObjPtr& parent)
{
    m_GfxObj = CreateGfxObject(element->GetChild("Mesh"), parent);
    auto read = [&](const char* name) {
        return ReadAnimation(element->GetChildById("Animation", name, "Name,Id"), m_GfxObj);
    };
    m_Unwrap = read("Unwrap");
    m_SliderDown = read("SliderDown");
    m_FullFlight = read("FullFlight");
    m_Config = element;
}

void CSlider::SlideDown()
{
    m_Unwrap->SetEnabled(false);
    m_SliderDown->SetAutoUpdate(true);
    m_FullFlight->SetEnabled(true);
}

void CSlider::Unwrap()
{
    m_Unwrap->SetAutoUpdate(true);
}

void CSlider::ResetToContainer()
{
    m_SliderDown->SetEnabled(false);
    m_FullFlight->SetAutoUpdate(true);
    m_FullFlight->SetEnabled(true);
    m_GfxObj->SetPos(xml::ParseVector(m_Config->GetAttribute("ContainerOffset")->GetValue()));
}

} // namespace sds
