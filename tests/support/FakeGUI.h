#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ILogMgr.h"
#include "core/XmlFile.h"
#include "gui/IGUI.h"

// A GUI service for tests of screens. It knows the windows of the program's
// layout (paths and window types, read from data/gui/Dravonkel.layout), keeps
// each widget's state, and follows the service's error rules: a path the
// layout lacks throws "Window does not exist: ", a widget of the wrong kind
// logs the service's error. Widget events are not raised: tests fire them
// through the event manager.
class CFakeGUI : public sds::IGUI
{
public:
    struct CWidget
    {
        std::string Type;
        bool Visible = true;
        bool Enabled = true;
        std::string Text;
        std::vector<std::string> Items;
        int Selected = -1;
        bool Checked = false;
        float ScrollPosition = 0.0f;
        float SpinnerValue = 0.0f;
        float SpinnerMin = 0.0f;
        float SpinnerMax = 0.0f;
        float SpinnerStep = 0.0f;
        // -1: whole numbers, as after SetSpinnerRange.
        int SpinnerDecimals = -1;
        std::string SelectedTab;
        std::map<std::string, std::string> Properties;
    };

    explicit CFakeGUI(const std::string& layoutFile = SDS_SOURCE_DIR "/data/gui/Dravonkel.layout")
    {
        const xml::CNodePtr layout = xml::LoadXmlFile(layoutFile)->GetChild("GUILayout");
        const xml::CNodePtr root = layout->GetChild("Window");
        for (auto screen = root->GetChildrenBegin("Window"); screen != root->GetChildrenEnd("Window"); ++screen)
            AddScreen(screen->second);
    }

    void ConnectMouse() override { m_MouseConnected = true; }
    void ConnectKeyboard() override { m_KeyboardConnected = true; }
    void ConnectInputs() override
    {
        ConnectMouse();
        ConnectKeyboard();
    }
    void DisconnectMouse() override { m_MouseConnected = false; }
    void DisconnectKeyboard() override { m_KeyboardConnected = false; }
    void DisconnectInputs() override
    {
        DisconnectKeyboard();
        DisconnectMouse();
    }

    void ShowWindow(const std::string& window, bool show) override
    {
        Record("ShowWindow " + window + (show ? " 1" : " 0"));
        Get(window).Visible = show;
    }
    void ShowMouseCursor(bool show) override { m_CursorVisible = show; }
    std::string GetText(const std::string& window) const override { return Get(window).Text; }
    void SetText(const std::string& window, const std::string& text) override
    {
        Record("SetText " + window);
        Get(window).Text = text;
    }
    bool IsWindowPresent(const std::string& window) const override { return m_Widgets.count(window) != 0; }

    void SetItems(const std::string& window, const std::vector<std::string>& items, unsigned selected) override
    {
        CWidget& w = Get(window);
        if (!IsList(w))
            return KindError(window, "' does not support adding items");
        w.Items = items;
        if (items.empty())
            w.Selected = -1;
        else
            w.Selected = selected < items.size() ? static_cast<int>(selected) : 0;
        if (IsKind(w, "Combobox") && !items.empty())
            w.Text = items[w.Selected];
    }
    void ClearItems(const std::string& window) override
    {
        CWidget& w = Get(window);
        if (!IsList(w))
            return KindError(window, "' does not support clearing items");
        w.Items.clear();
        w.Selected = -1;
    }
    std::string GetSelectedItem(const std::string& window) const override
    {
        const CWidget& w = Get(window);
        if (IsKind(w, "Combobox"))
            return w.Text;
        if (!IsKind(w, "Listbox")) {
            KindError(window, "' does not support getting selected items");
            return std::string();
        }
        return w.Selected < 0 ? std::string() : w.Items[w.Selected];
    }
    void SelectItem(const std::string& window, const std::string& item) override
    {
        CWidget& w = Get(window);
        if (!IsList(w))
            return KindError(window, "' does not support getting selected items");
        for (size_t i = 0; i < w.Items.size(); ++i)
            if (w.Items[i] == item) {
                w.Selected = static_cast<int>(i);
                if (IsKind(w, "Combobox"))
                    w.Text = item;
                return;
            }
    }

    bool IsChecked(const std::string& window) const override
    {
        const CWidget& w = Get(window);
        if (!IsKind(w, "Checkbox")) {
            KindError(window, "' is not a checkbox");
            return false;
        }
        return w.Checked;
    }
    void SetChecked(const std::string& window, bool checked) override
    {
        CWidget& w = Get(window);
        if (!IsKind(w, "Checkbox"))
            return KindError(window, "' is not a checkbox");
        w.Checked = checked;
    }
    void SetEnabled(const std::string& window, bool enabled) override { Get(window).Enabled = enabled; }
    bool IsDisabled(const std::string& window) const override { return !Get(window).Enabled; }

    void SetScrollbarSizes(const std::string& window, float, float, float, float) override
    {
        if (!IsKind(Get(window), "Scrollbar"))
            KindError(window, "' must be a scrollbar");
    }
    void SetScrollPosition(const std::string& window, float position) override
    {
        CWidget& w = Get(window);
        if (!IsKind(w, "Scrollbar"))
            return KindError(window, "' must be a scrollbar");
        w.ScrollPosition = position;
    }
    float GetScrollPosition(const std::string& window) const override
    {
        const CWidget& w = Get(window);
        if (!IsKind(w, "Scrollbar")) {
            KindError(window, "' must be a scrollbar");
            return 0.0f;
        }
        return w.ScrollPosition;
    }
    void SetSpinnerValue(const std::string& window, float value) override
    {
        CWidget& w = Get(window);
        if (!IsKind(w, "Spinner"))
            return KindError(window, "' must be a spinner");
        w.SpinnerValue = value;
    }
    float GetSpinnerValue(const std::string& window) const override
    {
        const CWidget& w = Get(window);
        if (!IsKind(w, "Spinner")) {
            KindError(window, "' must be a spinner");
            return 0.0f;
        }
        return w.SpinnerValue;
    }
    // Keeps the range; values are not clamped to it.
    void SetSpinnerRange(const std::string& window, float minimum, float maximum, float step) override
    {
        CWidget& w = Get(window);
        if (!IsKind(w, "Spinner"))
            return KindError(window, "' must be a spinner");
        w.SpinnerMin = minimum;
        w.SpinnerMax = maximum;
        w.SpinnerStep = step;
        w.SpinnerDecimals = -1;
    }
    void SetSpinnerDecimals(const std::string& window, int decimals) override
    {
        CWidget& w = Get(window);
        if (!IsKind(w, "Spinner"))
            return KindError(window, "' must be a spinner");
        w.SpinnerDecimals = decimals;
    }
    void SelectTab(const std::string& tabControl, const std::string& tab) override
    {
        CWidget& control = Get(tabControl);
        Get(tab);
        control.SelectedTab = tab;
    }
    void CopyToClipboard() override { ++m_Copies; }
    void PasteFromClipboard() override { ++m_Pastes; }
    void SetProperty(const std::string& window, const std::string& name, const std::string& value) override
    {
        Get(window).Properties[name] = value;
    }

    void SetHandlerFailureCallback(const CHandlerFailureCallback& callback) override { m_HandlerFailure = callback; }
    bool NeedsRedraw() const override { return m_NeedsRedraw; }

    CWidget& Get(const std::string& window)
    {
        auto found = m_Widgets.find(window);
        if (found == m_Widgets.end())
            throw std::runtime_error("Window does not exist: " + window);
        return found->second;
    }
    const CWidget& Get(const std::string& window) const { return const_cast<CFakeGUI*>(this)->Get(window); }

    std::map<std::string, CWidget> m_Widgets;
    // "ShowWindow <path> 1|0" and "SetText <path>", in call order.
    std::vector<std::string> m_Calls;
    bool m_MouseConnected = false;
    bool m_KeyboardConnected = false;
    bool m_CursorVisible = false;
    int m_Copies = 0;
    int m_Pastes = 0;
    CHandlerFailureCallback m_HandlerFailure;
    bool m_NeedsRedraw = false;

private:
    static bool IsKind(const CWidget& w, const char* kind) { return w.Type.find(kind) != std::string::npos; }
    static bool IsList(const CWidget& w) { return IsKind(w, "Listbox") || IsKind(w, "Combobox"); }
    static void KindError(const std::string& window, const char* text)
    {
        sds::ILogMgr::GetSingleton()->LogError("'" + window + text);
    }
    void Record(const std::string& call) { m_Calls.push_back(call); }

    // Every window below a screen is reachable as "<screen>/<name>", a tab page
    // also as "<screen>/<tab control>/<page>".
    void AddScreen(const xml::CNodePtr& screen)
    {
        const std::string name = screen->GetAttribute("name")->GetValue();
        m_Widgets[name].Type = screen->GetAttribute("type")->GetValue();
        // The service starts with every screen hidden.
        m_Widgets[name].Visible = false;
        AddDescendants(name, screen);
    }
    void AddDescendants(const std::string& screen, const xml::CNodePtr& parent)
    {
        if (!parent->HasChild("Window"))
            return;
        const bool tabs = parent->GetAttribute("type")->GetValue().find("TabControl") != std::string::npos;
        const std::string parentName = parent->GetAttribute("name")->GetValue();
        for (auto it = parent->GetChildrenBegin("Window"); it != parent->GetChildrenEnd("Window"); ++it) {
            const std::string name = it->second->GetAttribute("name")->GetValue();
            CWidget widget;
            widget.Type = it->second->GetAttribute("type")->GetValue();
            m_Widgets[screen + "/" + name] = widget;
            if (tabs)
                m_Widgets[screen + "/" + parentName + "/" + name] = widget;
            AddDescendants(screen, it->second);
        }
    }
};
