#include "gui/DecimalSpinner.h"

#include <cstdio>

#include <CEGUI/widgets/Editbox.h>

namespace wrappers {

const CEGUI::String CDecimalSpinner::WidgetTypeName("Dravonkel/DecimalSpinner");

CDecimalSpinner::CDecimalSpinner(const CEGUI::String& type, const CEGUI::String& name) : CEGUI::Spinner(type, name)
{
}

void CDecimalSpinner::SetDecimals(int decimals)
{
    m_Decimals = decimals;
    if (decimals < 0)
        return;
    setTextInputMode(FloatingPoint);
    // The mode may have been floating point already: show the value anew.
    CEGUI::Editbox* box = getEditbox();
    const bool wasMuted = box->isMuted();
    box->setMutedState(true);
    box->setText(getTextFromValue());
    box->setMutedState(wasMuted);
}

CEGUI::String CDecimalSpinner::getTextFromValue() const
{
    if (m_Decimals < 0)
        return CEGUI::Spinner::getTextFromValue();
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", m_Decimals, getCurrentValue());
    return text;
}

void CDecimalSpinner::onValueChanged(CEGUI::WindowEventArgs& e)
{
    if (m_Decimals < 0)
        return CEGUI::Spinner::onValueChanged(e);
    CEGUI::Editbox* box = getEditbox();
    const CEGUI::String& text = box->getText();
    // As the library's spinner: an emptied box, or one with a sign or a point
    // begun, reads as 0.
    double typed = 0.0;
    const bool begun = text.empty() || text == "-" || text == ".";
    const bool readsAsValue = begun ? getCurrentValue() == 0.0
                                    : std::sscanf(text.c_str(), "%lf", &typed) == 1 && typed == getCurrentValue();
    if (!readsAsValue) {
        const bool wasMuted = box->isMuted();
        box->setMutedState(true);
        box->setText(getTextFromValue());
        box->setMutedState(wasMuted);
    }
    fireEvent(EventValueChanged, e, EventNamespace);
}

} // namespace wrappers
