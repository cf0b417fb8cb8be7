#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/SingletonTmpl.h"

namespace sds {

// The GUI service. Widgets are addressed by their layout path: the screen's
// window name, "/" and the widget's name ("wndSettings/chbInvertY"); tab pages
// by the tab control's path, "/" and the page's name. Texts cross the interface
// as UTF-8.
//
// A path the layout does not hold throws std::runtime_error "Window does not
// exist: <path>"; an operation on a widget of the wrong kind logs an error and
// changes nothing (getters return false, "" or 0).
class IGUI : public CSingletonTmpl<IGUI>
{
public:
    // Given the text of a widget handler's failure, after the GUI has logged it.
    typedef std::function<void(const std::string& failure)> CHandlerFailureCallback;

    ~IGUI() override = default;

    // Raw mouse and keyboard events reach the GUI only while connected.
    virtual void ConnectMouse() = 0;
    virtual void ConnectKeyboard() = 0;
    virtual void ConnectInputs() = 0;
    virtual void DisconnectMouse() = 0;
    virtual void DisconnectKeyboard() = 0;
    virtual void DisconnectInputs() = 0;

    // A window shown comes in front of the windows shown before it.
    virtual void ShowWindow(const std::string& window, bool show) = 0;
    virtual void ShowMouseCursor(bool show) = 0;
    virtual std::string GetText(const std::string& window) const = 0;
    virtual void SetText(const std::string& window, const std::string& text) = 0;
    // Never throws.
    virtual bool IsWindowPresent(const std::string& window) const = 0;

    // List and combo boxes: makes the box hold exactly `items` and selects the
    // one at `selected` (the first when `selected` is past the end).
    virtual void SetItems(const std::string& window, const std::vector<std::string>& items, unsigned selected) = 0;
    virtual void ClearItems(const std::string& window) = 0;
    // A list box's first selected item ("" when none); a combo box's text.
    virtual std::string GetSelectedItem(const std::string& window) const = 0;
    // The first item with that text; no such item changes nothing.
    virtual void SelectItem(const std::string& window, const std::string& item) = 0;

    virtual bool IsChecked(const std::string& window) const = 0;
    virtual void SetChecked(const std::string& window, bool checked) = 0;
    virtual void SetEnabled(const std::string& window, bool enabled) = 0;
    // True when the window or one of its ancestors is disabled.
    virtual bool IsDisabled(const std::string& window) const = 0;

    virtual void SetScrollbarSizes(const std::string& window, float documentSize, float pageSize, float stepSize,
                                   float overlapSize) = 0;
    virtual void SetScrollPosition(const std::string& window, float position) = 0;
    virtual float GetScrollPosition(const std::string& window) const = 0;

    virtual void SetSpinnerValue(const std::string& window, float value) = 0;
    virtual float GetSpinnerValue(const std::string& window) const = 0;
    // Also restricts the spinner's text to whole numbers.
    virtual void SetSpinnerRange(const std::string& window, float minimum, float maximum, float step) = 0;
    // The spinner shows its value rounded to that many decimals (not cut to
    // its whole part) and takes decimal numbers; the value stays as given.
    // Lasts until the next SetSpinnerRange.
    virtual void SetSpinnerDecimals(const std::string& window, int decimals) = 0;

    // `tab` is the page's path, as "wndSettings/tcSections/tabVideo".
    virtual void SelectTab(const std::string& tabControl, const std::string& tab) = 0;

    // Between the focused edit box and the clipboard.
    virtual void CopyToClipboard() = 0;
    virtual void PasteFromClipboard() = 0;

    // A named property of the window ("Visible", "Text", "TooltipText", ...).
    virtual void SetProperty(const std::string& window, const std::string& name, const std::string& value) = 0;

    // Who hears of a failed widget handler (the menus show it); empty for
    // nobody. The callback must not throw.
    virtual void SetHandlerFailureCallback(const CHandlerFailureCallback& callback) = 0;

    // Whether something the GUI shows has changed since it was last drawn: a
    // window shown, a text set, a hover, a caret's blink, a tooltip fading in.
    virtual bool NeedsRedraw() const = 0;
};

} // namespace sds
