#pragma once

#include "graphics/IOverlayElement.h"

namespace sds {

// An overlay element of the in-memory graphics: it keeps what is set.
class CMemOverlayElement : public IOverlayElement
{
public:
    void SetCaption(const std::string& caption) override { m_Caption = caption; }
    std::string GetCaption() const override { return m_Caption; }
    void SetMaterialName(const std::string& name) override { m_Material = name; }
    std::string GetMaterialName() const override { return m_Material; }
    void SetVisible(bool visible) override { m_Visible = visible; }
    bool IsVisible() const override { return m_Visible; }
    void SetPosition(float left, float top) override
    {
        m_Left = left;
        m_Top = top;
    }
    float GetLeft() const override { return m_Left; }
    float GetTop() const override { return m_Top; }
    float GetHeight() const override { return m_Height; }
    float GetWidth() const override { return m_Width; }
    void SetColour(const CFourFloats& colour) override { m_Colour = colour; }
    CFourFloats GetColour() const override { return m_Colour; }

    std::string m_Caption;
    std::string m_Material;
    bool m_Visible = true;
    float m_Left = 0.0f;
    float m_Top = 0.0f;
    float m_Width = 0.0f;
    float m_Height = 0.0f;
    CFourFloats m_Colour;
};

} // namespace sds
