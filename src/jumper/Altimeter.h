#pragma once

#include <string>

#include "core/Node.h"
#include "graphics/IDial.h"
#include "graphics/IGfxObj.h"
#include "jumper/IAltimeter.h"

namespace sds {

// What both kinds of altimeter share: the dial made from the model's "RTT",
// "Dial" and "Arrow", and the case of the attachment place's "Case" hung on
// the body's bone, whose "AltimeterFace" sub-entities show the dial.
class CAltimeter : public IAltimeter
{
public:
    // The model's "Altimeter" element and one of its "Attachments" children.
    // Throws the XML layer's exceptions for a missing element or attribute and
    // CException "Joint does not exist: " for a bone the body lacks.
    CAltimeter(const xml::CNodePtr& model, const xml::CNodePtr& place, const CGfxObjPtr& body,
               float referenceHeight);
    // The case's faces get "AltimeterFace" back before the dial goes.
    ~CAltimeter() override;

    std::string GetCaption() const override { return m_Dial->GetMaterialName(); }
    void SetReferenceHeight(float height) override { m_ReferenceHeight = height; }
    float GetAltitude() const override { return m_Body->GetWorldPos().y - m_ReferenceHeight; }

    // The material name the case mesh gives the faces that show the dial.
    static const char* const kFaceMaterial;

    const CGfxObjPtr& GetCase() const { return m_Case; }
    const CDialPtr& GetDial() const { return m_Dial; }

protected:
    static xml::CNodePtr Parameters(const xml::CNodePtr& model) { return model->GetChild("Parameters"); }
    float GetSpan() const { return m_MaxAltitude - m_MinAltitude; }
    IDial& Dial() const { return *m_Dial; }

private:
    void ShowDialOnFaces(const std::string& from, const std::string& to);

    float m_ReferenceHeight;
    CGfxObjPtr m_Body;
    float m_MaxAltitude;
    float m_MinAltitude;
    CDialPtr m_Dial;
    CGfxObjPtr m_Case;
};

} // namespace sds
