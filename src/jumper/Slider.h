#pragma once

#include "jumper/ISlider.h"

namespace sds {

// The slider built from the container model's "Slider" element: the mesh of
// its "Mesh" child and its three "Animation" records, keyed by "Name".
class CSlider : public ISlider
{
public:
    // Throws the XML layer's exceptions for a missing "Mesh" or record.
    CSlider(const xml::CNodePtr& element, const CGfxObjPtr& parent);

    // "Unwrap" off, "SliderDown" running, "FullFlight" on.
    void SlideDown() override;
    // "Unwrap" runs by itself.
    void Unwrap() override;
    void ResetToContainer() override;
    xml::CNodePtr GetConfig() const override { return m_Config; }

    const CAnimationPtr& GetUnwrapAnimation() const { return m_Unwrap; }
    const CAnimationPtr& GetSliderDownAnimation() const { return m_SliderDown; }
    const CAnimationPtr& GetFullFlightAnimation() const { return m_FullFlight; }

private:
    CAnimationPtr m_Unwrap;
    CAnimationPtr m_SliderDown;
    CAnimationPtr m_FullFlight;
    xml::CNodePtr m_Config;
};

} // namespace sds
