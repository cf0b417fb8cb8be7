#pragma once

#include <CEGUI/widgets/Spinner.h>

namespace wrappers {

// A spinner that shows its value with a fixed number of decimals, rounded as
// the unit settings show values ("61.0" for 60.96), while it keeps the value
// it was given: what is shown is what is used, to the shown precision. The
// user types decimal numbers, which are taken as typed. Without decimals set
// it is the library's spinner.
class CDecimalSpinner : public CEGUI::Spinner
{
public:
    static const CEGUI::String WidgetTypeName;

    CDecimalSpinner(const CEGUI::String& type, const CEGUI::String& name);

    // Shows that many decimals and takes decimal numbers; a negative number
    // gives the library's spinner back (the text mode is then the caller's).
    void SetDecimals(int decimals);
    int GetDecimals() const { return m_Decimals; }

protected:
    CEGUI::String getTextFromValue() const override;
    // Text the user is typing is left alone while it reads as the value.
    void onValueChanged(CEGUI::WindowEventArgs& e) override;

private:
    int m_Decimals = -1;
};

} // namespace wrappers
