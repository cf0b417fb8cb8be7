#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>
#include <CEGUI/Event.h>

#include "core/Node.h"
#include "core/services/Events.h"
#include "gui/IGUI.h"
#include "gui/WindowResolver.h"

namespace CEGUI {
class EventArgs;
class Image;
class Renderer;
class Window;
} // namespace CEGUI

namespace wrappers {

class CStdRegexMatcher;

// The GUI service over CEGUI 0.8. It loads the look and the layout named by
// the configuration's "GUI" node, turns the library's widget events into GUI
// events of the event manager, feeds the library the raw input while the GUI
// engine runs, and its time pulse every frame.
class CCeguiGUI : public sds::IGUI
{
public:
    // Plays one of the GUI's sounds.
    typedef std::function<void()> CSound;
    // Makes the sound of a "Sound" element of the "GUI" node; the application
    // passes one over the sound service. Without it the GUI is silent.
    typedef std::function<CSound(const xml::CNodePtr& sound)> CSoundLoader;
    // Rows of a list box the user picks from: set with none selected, and the
    // picked row's text ("" when none).
    typedef std::function<void(const std::vector<std::string>& rows)> CSetRows;
    typedef std::function<std::string()> CGetSelectedRow;
    // Makes the graphics-settings list over the rows of the list box of that
    // window; the GUI keeps what it returns for its life. The application
    // passes one over the rendering engine; without it the list stays empty.
    typedef std::function<std::shared_ptr<void>(const std::string& window, const CSetRows& setRows,
                                                const CGetSelectedRow& getSelectedRow)>
        CSettingsListFactory;

    // The CEGUI system must exist, with `renderer`, and so must the event manager.
    CCeguiGUI(const xml::CNodePtr& guiNode, CEGUI::Renderer* renderer, const CSoundLoader& loadSound = CSoundLoader(),
              const CSettingsListFactory& createSettingsList = CSettingsListFactory());
    // Destroys the layout's windows.
    ~CCeguiGUI() override;

    void ConnectMouse() override;
    void ConnectKeyboard() override;
    void ConnectInputs() override;
    void DisconnectMouse() override;
    void DisconnectKeyboard() override;
    void DisconnectInputs() override;
    void ShowWindow(const std::string& window, bool show) override;
    void ShowMouseCursor(bool show) override;
    std::string GetText(const std::string& window) const override;
    void SetText(const std::string& window, const std::string& text) override;
    bool IsWindowPresent(const std::string& window) const override;
    void SetItems(const std::string& window, const std::vector<std::string>& items, unsigned selected) override;
    void ClearItems(const std::string& window) override;
    std::string GetSelectedItem(const std::string& window) const override;
    void SelectItem(const std::string& window, const std::string& item) override;
    bool IsChecked(const std::string& window) const override;
    void SetChecked(const std::string& window, bool checked) override;
    void SetEnabled(const std::string& window, bool enabled) override;
    bool IsDisabled(const std::string& window) const override;
    void SetScrollbarSizes(const std::string& window, float documentSize, float pageSize, float stepSize,
                           float overlapSize) override;
    void SetScrollPosition(const std::string& window, float position) override;
    float GetScrollPosition(const std::string& window) const override;
    void SetSpinnerValue(const std::string& window, float value) override;
    float GetSpinnerValue(const std::string& window) const override;
    void SetSpinnerRange(const std::string& window, float minimum, float maximum, float step) override;
    void SetSpinnerDecimals(const std::string& window, int decimals) override;
    void SelectTab(const std::string& tabControl, const std::string& tab) override;
    void CopyToClipboard() override;
    void PasteFromClipboard() override;
    void SetProperty(const std::string& window, const std::string& name, const std::string& value) override;
    void SetHandlerFailureCallback(const CHandlerFailureCallback& callback) override;
    // The library's GUI context is dirty until it is drawn.
    bool NeedsRedraw() const override;

    // The clipboard: one text for the whole process. An empty text leaves the
    // clipboard as it was.
    static void CopyTextToClipboard(const std::string& text);
    static std::string GetClipboardText();

    // Raw keyboard keys below 3840 pass as the library's scan codes; 3840 and
    // above are mouse buttons.
    void InjectKey(const sds::CDiscreteEvent& event);
    void InjectMouse(const sds::CAnalogEvent& event);
    void InjectTimePulse(const sds::CFrameEvent& event);

    // Edit boxes that have a validator: one per living box.
    std::size_t GetValidatorCount() const { return m_Validators.size(); }

private:
    // The look, the layout and the subscriptions, in the order of the "GUI" node.
    void Load(const xml::CNodePtr& guiNode, const CSettingsListFactory& createSettingsList);
    // Undoes Load, also a Load that failed half-way.
    void Release();
    void CreateImageset(const xml::CNodePtr& imageset);
    void ApplyLayoutChanges(const xml::CNodePtr& guiNode);
    void DisableRollUp(const std::string& window);
    void RemoveWindow(const std::string& window);
    void RemoveTab(const std::string& tabControl, const std::string& tab);
    void SubscribeEvents();
    void SetRows(const std::string& window, const std::vector<std::string>& rows);
    std::string GetSelectedRow(const std::string& window) const;

    bool OnWidgetEvent(const CEGUI::EventArgs& args);
    bool OnButtonClicked(const CEGUI::EventArgs& args);
    bool OnButtonHover(const CEGUI::EventArgs& args);
    // Gives each new edit box a validator, so that validation strings work,
    // and a maximum text length when the layout sets none.
    bool OnWindowCreated(const CEGUI::EventArgs& args);
    bool OnEditboxDestroyed(const CEGUI::EventArgs& args);
    // Fires the GUI event of the window. A failing screen handler is logged
    // and handed to the failure callback; it never leaves through the library.
    void FireGUIEvent(const CEGUI::Window& window);

    // The window of a tested operation; a missing one throws "Window does not exist: ".
    CEGUI::Window& GetTested(const std::string& window) const;
    void LogKindError(const std::string& window, const char* text) const;
    void InjectClipboardText(unsigned newLineReplacement);
    CEGUI::Window* GetFocusedWindow() const;

    CEGUI::Renderer* m_Renderer;
    CSound m_HoverSound;
    CSound m_ClickSound;
    boost::signals2::connection m_KeyboardConnection;
    boost::signals2::connection m_MouseConnection;
    const CEGUI::Image* m_SelectionBrush;
    boost::signals2::connection m_TimePulseConnection;
    std::shared_ptr<void> m_GfxSettingsListBox;

    CWindowResolver m_Windows;
    CHandlerFailureCallback m_HandlerFailure;
    struct CValidator
    {
        std::unique_ptr<CStdRegexMatcher> Matcher;
        CEGUI::Event::Connection Destroyed;
    };
    // One validator per living edit box.
    std::map<const CEGUI::Window*, CValidator> m_Validators;
    std::vector<CEGUI::Event::Connection> m_LibrarySubscriptions;
};

} // namespace wrappers
