#include "gui/CeguiGUI.h"

#include <algorithm>
#include <stdexcept>

#include <CEGUI/CEGUI.h>

#include "core/ILogMgr.h"
#include "core/services/IEventMgr.h"
#include "gui/CeguiText.h"
#include "gui/DecimalSpinner.h"
#include "gui/StdRegexMatcher.h"

namespace wrappers {

namespace {

// The window kinds, told by a text in the window's type name. The slash keeps
// a multi-line edit box from counting as a single-line one.
const char* const ListboxKind = "Listbox";
const char* const ComboboxKind = "Combobox";
const char* const CheckboxKind = "Checkbox";
const char* const ScrollbarKind = "Scrollbar";
const char* const SpinnerKind = "Spinner";
const char* const EditboxKind = "/Editbox";
const char* const MultiLineEditboxKind = "MultiLineEditbox";

const char* const FrameWindowType = "Dravonkel/FrameWindow";

// The length of an edit box whose layout sets none: a line of text, and far
// below what the validator's recursion could not match.
const size_t DefaultMaxTextLength = 1024;

// Mouse buttons come as key codes from this base on.
const std::int32_t MouseButtonBase = sds::MOUSE_BUTTON_KEY_BASE;

std::string& Clipboard()
{
    static std::string text;
    return text;
}

bool IsKind(const CEGUI::Window& window, const char* kind)
{
    return FromCegui(window.getType()).find(kind) != std::string::npos;
}

// The window as T when its type name says it is of that kind.
template <class T>
T* As(CEGUI::Window& window, const char* kind)
{
    return IsKind(window, kind) ? dynamic_cast<T*>(&window) : nullptr;
}

void LogToLibrary(const CEGUI::String& message)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(message, CEGUI::Standard);
}

[[noreturn]] void ThrowMissingWindow(const std::string& window, const CEGUI::Exception& e)
{
    LogToLibrary(e.getMessage());
    throw std::runtime_error("Window does not exist: " + window + ". " + FromCegui(e.getMessage()));
}

CEGUI::GUIContext& Context()
{
    return CEGUI::System::getSingleton().getDefaultGUIContext();
}

CEGUI::MouseButton MapMouseButton(std::int32_t key)
{
    switch (key - MouseButtonBase) {
    case 1:
        return CEGUI::RightButton;
    case 2:
        return CEGUI::MiddleButton;
    case 3:
        return CEGUI::X1Button;
    case 4:
        return CEGUI::X2Button;
    default:
        return CEGUI::LeftButton;
    }
}

std::string Attribute(const xml::CNodePtr& node, const std::string& name)
{
    return node->GetAttribute(name)->GetValue();
}

float FloatAttribute(const xml::CNodePtr& node, const std::string& name)
{
    return node->GetAttribute(name)->GetValue<float>();
}

} // namespace

CCeguiGUI::CCeguiGUI(const xml::CNodePtr& guiNode, CEGUI::Renderer* renderer, const CSoundLoader& loadSound,
                     const CSettingsListFactory& createSettingsList)
    : m_Renderer(renderer), m_SelectionBrush(nullptr)
{
    const xml::CNodePtr hover = guiNode->GetChildById("Sound", "Hover", "Name,Id");
    const xml::CNodePtr click = guiNode->GetChildById("Sound", "Click", "Name,Id");
    if (loadSound) {
        m_HoverSound = loadSound(hover);
        m_ClickSound = loadSound(click);
    }

    // A failed start leaves nothing of the GUI behind: no windows, and no
    // library subscription that would call into the dead object.
    try {
        Load(guiNode, createSettingsList);
    } catch (...) {
        Release();
        throw;
    }
}

void CCeguiGUI::Load(const xml::CNodePtr& guiNode, const CSettingsListFactory& createSettingsList)
{
    // Spinners and validated edit boxes need a validator as soon as they exist,
    // before the layout sets their validation strings.
    m_LibrarySubscriptions.push_back(CEGUI::WindowManager::getSingleton().subscribeEvent(
        CEGUI::WindowManager::EventWindowCreated, CEGUI::Event::Subscriber(&CCeguiGUI::OnWindowCreated, this)));

    // The scheme's spinners are of this type.
    CEGUI::WindowFactoryManager& factories = CEGUI::WindowFactoryManager::getSingleton();
    if (!factories.isFactoryPresent(CDecimalSpinner::WidgetTypeName))
        factories.addWindowType<CDecimalSpinner>();

    CEGUI::SchemeManager::getSingleton().createFromFile(ToCegui(Attribute(guiNode, "Scheme")), "");

    const xml::CNodePtr cursor = guiNode->GetChild("Cursor");
    CEGUI::GUIContext& context = Context();
    context.getMouseCursor().setDefaultImage(
        ToCegui(Attribute(cursor, "ImageSet") + "/" + Attribute(cursor, "ImageName")));

    xml::ForEachChild(*guiNode, "ImageSet", [this](const xml::CNodePtr& imageset) { CreateImageset(imageset); });

    const std::string layout = Attribute(guiNode, "Layout");
    CEGUI::Window* root = CEGUI::WindowManager::getSingleton().loadLayoutFromFile(ToCegui(layout), "");
    if (!root)
        throw std::runtime_error("The GUI layout " + layout +
                                 " holds no window: it must hold one root window with the screens in it");
    m_Windows.SetRoot(root);
    context.setRootWindow(root);
    for (size_t i = 0; i < root->getChildCount(); ++i) {
        CEGUI::Window* screen = root->getChildAtIdx(i);
        screen->hide();
        if (screen->getType() == FrameWindowType)
            static_cast<CEGUI::FrameWindow*>(screen)->setRollupEnabled(false);
    }

    const xml::CNodePtr toolTip = guiNode->GetChild("ToolTip");
    context.setDefaultTooltipType(ToCegui(Attribute(toolTip, "System")));
    xml::ForEachChild(*toolTip, "SetProperty", [&context](const xml::CNodePtr& property) {
        context.getDefaultTooltipObject()->setProperty(ToCegui(Attribute(property, "Name")),
                                                       ToCegui(Attribute(property, "Value")));
    });

    SubscribeEvents();

    const xml::CNodePtr selection = guiNode->GetChild("ListBoxSelection");
    m_SelectionBrush = &CEGUI::ImageManager::getSingleton().get(
        ToCegui(Attribute(selection, "ImageSet") + "/" + Attribute(selection, "ImageName")));

    if (createSettingsList) {
        const std::string list = "wndSettings/lbGfxParams";
        m_GfxSettingsListBox = createSettingsList(
            list, [this, list](const std::vector<std::string>& rows) { SetRows(list, rows); },
            [this, list] { return GetSelectedRow(list); });
    }

    ApplyLayoutChanges(guiNode);

    // Let the library know which window lies under the cursor from the start.
    CEGUI::MouseCursor& mouse = context.getMouseCursor();
    const CEGUI::Rectf area = mouse.getConstraintArea();
    mouse.setPosition(CEGUI::Vector2f(area.getWidth() / 2.0f, area.getHeight() / 2.0f));
    context.injectMouseMove(0.0f, 0.0f);
    mouse.hide();

    m_TimePulseConnection = sds::IEventMgr::GetSingleton()->ConnectFrameEvent(
        [this](const sds::CFrameEvent& event) { InjectTimePulse(event); });
}

CCeguiGUI::~CCeguiGUI()
{
    Release();
}

void CCeguiGUI::Release()
{
    m_GfxSettingsListBox.reset();
    DisconnectInputs();
    m_TimePulseConnection.disconnect();
    for (CEGUI::Event::Connection& subscription : m_LibrarySubscriptions)
        subscription->disconnect();
    m_LibrarySubscriptions.clear();

    // The windows go before their validators.
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    if (CEGUI::Window* root = m_Windows.GetRoot()) {
        if (Context().getRootWindow() == root)
            Context().setRootWindow(nullptr);
        windows.destroyWindow(root);
        m_Windows.SetRoot(nullptr);
    }
    for (const auto& detached : m_Windows.GetDetached())
        if (!detached.second->getParent())
            windows.destroyWindow(detached.second);
    m_Windows.ForgetDetached();
    windows.cleanDeadPool();
    // Boxes made elsewhere keep their validators until this service goes, but
    // no longer call it.
    for (auto& validator : m_Validators)
        validator.second.Destroyed->disconnect();
}

void CCeguiGUI::ConnectMouse()
{
    if (!m_MouseConnection.connected())
        m_MouseConnection = sds::IEventMgr::GetSingleton()->ConnectAnalogEvent(
            [this](const sds::CAnalogEvent& event) { InjectMouse(event); });
}

void CCeguiGUI::ConnectKeyboard()
{
    if (!m_KeyboardConnection.connected())
        m_KeyboardConnection = sds::IEventMgr::GetSingleton()->ConnectDiscreteEvent(
            [this](const sds::CDiscreteEvent& event) { InjectKey(event); });
}

void CCeguiGUI::ConnectInputs()
{
    ConnectMouse();
    ConnectKeyboard();
}

void CCeguiGUI::DisconnectMouse()
{
    m_MouseConnection.disconnect();
}

void CCeguiGUI::DisconnectKeyboard()
{
    m_KeyboardConnection.disconnect();
}

void CCeguiGUI::DisconnectInputs()
{
    DisconnectKeyboard();
    DisconnectMouse();
}

void CCeguiGUI::ShowWindow(const std::string& window, bool show)
{
    try {
        CEGUI::Window& shown = m_Windows.Get(window);
        shown.setVisible(show);
        // The screen last shown is the one in use: in front of those shown
        // before it, whatever their order in the layout (a message box over
        // the screen whose failure it reports).
        if (show)
            shown.moveToFront();
    } catch (const CEGUI::UnknownObjectException& e) {
        ThrowMissingWindow(window, e);
    }
}

void CCeguiGUI::ShowMouseCursor(bool show)
{
    Context().getMouseCursor().setVisible(show);
}

std::string CCeguiGUI::GetText(const std::string& window) const
{
    return FromCegui(GetTested(window).getText());
}

void CCeguiGUI::SetText(const std::string& window, const std::string& text)
{
    GetTested(window).setText(ToCegui(text));
}

bool CCeguiGUI::IsWindowPresent(const std::string& window) const
{
    return m_Windows.Find(window) != nullptr;
}

void CCeguiGUI::SetItems(const std::string& window, const std::vector<std::string>& items, unsigned selected)
{
    CEGUI::Window& widget = GetTested(window);
    auto makeItem = [this](const std::string& text) {
        CEGUI::ListboxTextItem* item = new CEGUI::ListboxTextItem(ToCegui(text), 0, nullptr, false, true);
        item->setSelectionBrushImage(m_SelectionBrush);
        // Names come from files the user edits: "[" must not be read as markup.
        item->setTextParsingEnabled(false);
        return item;
    };
    const size_t index = selected < items.size() ? selected : 0;

    if (CEGUI::Listbox* list = As<CEGUI::Listbox>(widget, ListboxKind)) {
        if (items.empty()) {
            list->resetList();
            return;
        }
        const size_t count = list->getItemCount();
        for (size_t i = 0; i < std::min(count, items.size()); ++i)
            list->getListboxItemFromIndex(i)->setText(ToCegui(items[i]));
        while (list->getItemCount() > items.size())
            list->removeItem(list->getListboxItemFromIndex(list->getItemCount() - 1));
        for (size_t i = count; i < items.size(); ++i)
            list->addItem(makeItem(items[i]));
        list->handleUpdatedItemData();
        // Selecting runs the screens' handlers, which may rebuild the list.
        list->ensureItemIsVisible(index);
        list->setItemSelectState(index, true);
    } else if (CEGUI::Combobox* combo = As<CEGUI::Combobox>(widget, ComboboxKind)) {
        combo->resetList();
        if (items.empty())
            return;
        for (const std::string& text : items)
            combo->addItem(makeItem(text));
        combo->setText(ToCegui(items[index]));
    } else {
        LogKindError(window, "' does not support adding items");
    }
}

void CCeguiGUI::SetRows(const std::string& window, const std::vector<std::string>& rows)
{
    CEGUI::Listbox* list = As<CEGUI::Listbox>(m_Windows.Get(window), ListboxKind);
    if (!list)
        return LogKindError(window, "' does not support adding items");
    list->resetList();
    for (const std::string& row : rows) {
        CEGUI::ListboxTextItem* item = new CEGUI::ListboxTextItem(ToCegui(row), 0, nullptr, false, true);
        item->setTextParsingEnabled(false);
        list->addItem(item);
    }
}

std::string CCeguiGUI::GetSelectedRow(const std::string& window) const
{
    const CEGUI::Listbox* list = As<CEGUI::Listbox>(m_Windows.Get(window), ListboxKind);
    const CEGUI::ListboxItem* item = list ? list->getFirstSelectedItem() : nullptr;
    return item ? FromCegui(item->getText()) : std::string();
}

void CCeguiGUI::ClearItems(const std::string& window)
{
    CEGUI::Window& widget = GetTested(window);
    if (CEGUI::Listbox* list = As<CEGUI::Listbox>(widget, ListboxKind))
        list->resetList();
    else if (CEGUI::Combobox* combo = As<CEGUI::Combobox>(widget, ComboboxKind))
        combo->resetList();
    else
        LogKindError(window, "' does not support clearing items");
}

std::string CCeguiGUI::GetSelectedItem(const std::string& window) const
{
    CEGUI::Window& widget = GetTested(window);
    if (CEGUI::Listbox* list = As<CEGUI::Listbox>(widget, ListboxKind)) {
        const CEGUI::ListboxItem* item = list->getFirstSelectedItem();
        return item ? FromCegui(item->getText()) : std::string();
    }
    if (CEGUI::Combobox* combo = As<CEGUI::Combobox>(widget, ComboboxKind))
        return FromCegui(combo->getText());
    LogKindError(window, "' does not support getting selected items");
    return std::string();
}

void CCeguiGUI::SelectItem(const std::string& window, const std::string& text)
{
    CEGUI::Window& widget = GetTested(window);
    const CEGUI::String wanted = ToCegui(text);
    if (CEGUI::Listbox* list = As<CEGUI::Listbox>(widget, ListboxKind)) {
        for (size_t i = 0; i < list->getItemCount(); ++i) {
            CEGUI::ListboxItem* item = list->getListboxItemFromIndex(i);
            if (item->getText() == wanted) {
                // Selecting runs the screens' handlers, which may rebuild the list.
                list->ensureItemIsVisible(item);
                list->setItemSelectState(item, true);
                return;
            }
        }
    } else if (CEGUI::Combobox* combo = As<CEGUI::Combobox>(widget, ComboboxKind)) {
        for (size_t i = 0; i < combo->getItemCount(); ++i)
            if (combo->getListboxItemFromIndex(i)->getText() == wanted) {
                combo->setText(wanted);
                return;
            }
    } else {
        LogKindError(window, "' does not support getting selected items");
    }
}

bool CCeguiGUI::IsChecked(const std::string& window) const
{
    if (CEGUI::ToggleButton* box = As<CEGUI::ToggleButton>(GetTested(window), CheckboxKind))
        return box->isSelected();
    LogKindError(window, "' is not a checkbox");
    return false;
}

void CCeguiGUI::SetChecked(const std::string& window, bool checked)
{
    if (CEGUI::ToggleButton* box = As<CEGUI::ToggleButton>(GetTested(window), CheckboxKind))
        box->setSelected(checked);
    else
        LogKindError(window, "' is not a checkbox");
}

void CCeguiGUI::SetEnabled(const std::string& window, bool enabled)
{
    GetTested(window).setEnabled(enabled);
}

bool CCeguiGUI::IsDisabled(const std::string& window) const
{
    return GetTested(window).isEffectiveDisabled();
}

void CCeguiGUI::SetScrollbarSizes(const std::string& window, float documentSize, float pageSize, float stepSize,
                                  float overlapSize)
{
    if (CEGUI::Scrollbar* bar = As<CEGUI::Scrollbar>(GetTested(window), ScrollbarKind)) {
        bar->setDocumentSize(documentSize);
        bar->setPageSize(pageSize);
        bar->setStepSize(stepSize);
        bar->setOverlapSize(overlapSize);
    } else {
        LogKindError(window, "' must be a scrollbar");
    }
}

void CCeguiGUI::SetScrollPosition(const std::string& window, float position)
{
    if (CEGUI::Scrollbar* bar = As<CEGUI::Scrollbar>(GetTested(window), ScrollbarKind))
        bar->setScrollPosition(position);
    else
        LogKindError(window, "' must be a scrollbar");
}

float CCeguiGUI::GetScrollPosition(const std::string& window) const
{
    if (CEGUI::Scrollbar* bar = As<CEGUI::Scrollbar>(GetTested(window), ScrollbarKind))
        return bar->getScrollPosition();
    LogKindError(window, "' must be a scrollbar");
    return 0.0f;
}

void CCeguiGUI::SetSpinnerValue(const std::string& window, float value)
{
    if (CEGUI::Spinner* spinner = As<CEGUI::Spinner>(GetTested(window), SpinnerKind))
        spinner->setCurrentValue(value);
    else
        LogKindError(window, "' must be a spinner");
}

float CCeguiGUI::GetSpinnerValue(const std::string& window) const
{
    if (CEGUI::Spinner* spinner = As<CEGUI::Spinner>(GetTested(window), SpinnerKind))
        return static_cast<float>(spinner->getCurrentValue());
    LogKindError(window, "' must be a spinner");
    return 0.0f;
}

void CCeguiGUI::SetSpinnerRange(const std::string& window, float minimum, float maximum, float step)
{
    if (CEGUI::Spinner* spinner = As<CEGUI::Spinner>(GetTested(window), SpinnerKind)) {
        spinner->setMinimumValue(minimum);
        spinner->setMaximumValue(maximum);
        spinner->setStepSize(step);
        if (auto* decimal = dynamic_cast<CDecimalSpinner*>(spinner))
            decimal->SetDecimals(-1);
        spinner->setTextInputMode(CEGUI::Spinner::Integer);
    } else {
        LogKindError(window, "' must be a spinner");
    }
}

void CCeguiGUI::SetSpinnerDecimals(const std::string& window, int decimals)
{
    CEGUI::Spinner* spinner = As<CEGUI::Spinner>(GetTested(window), SpinnerKind);
    if (!spinner)
        return LogKindError(window, "' must be a spinner");
    if (auto* decimal = dynamic_cast<CDecimalSpinner*>(spinner))
        decimal->SetDecimals(decimals);
    else
        // A spinner of another look: the library's decimal text, unrounded.
        spinner->setTextInputMode(CEGUI::Spinner::FloatingPoint);
}

void CCeguiGUI::SelectTab(const std::string& tabControl, const std::string& tab)
{
    CEGUI::Window& control = GetTested(tabControl);
    CEGUI::Window& page = GetTested(tab);
    CEGUI::TabControl* tabs = dynamic_cast<CEGUI::TabControl*>(&control);
    if (!tabs) {
        LogKindError(tabControl, "' is not a tab control");
        return;
    }
    try {
        tabs->setSelectedTab(page.getName());
    } catch (const CEGUI::UnknownObjectException& e) {
        ThrowMissingWindow(tab, e);
    }
}

void CCeguiGUI::CopyToClipboard()
{
    CEGUI::Window* focused = GetFocusedWindow();
    if (!focused)
        return;
    size_t start = 0, length = 0;
    if (CEGUI::Editbox* box = As<CEGUI::Editbox>(*focused, EditboxKind)) {
        start = box->getSelectionStartIndex();
        length = box->getSelectionLength();
    } else if (CEGUI::MultiLineEditbox* multiLine = As<CEGUI::MultiLineEditbox>(*focused, MultiLineEditboxKind)) {
        start = multiLine->getSelectionStartIndex();
        length = multiLine->getSelectionLength();
    } else {
        return;
    }
    if (length == 0)
        return;
    CopyTextToClipboard(FromCegui(focused->getText().substr(start, length)));
}

void CCeguiGUI::PasteFromClipboard()
{
    CEGUI::Window* focused = GetFocusedWindow();
    if (!focused)
        return;
    if (IsKind(*focused, EditboxKind))
        InjectClipboardText(' ');
    else if (IsKind(*focused, MultiLineEditboxKind))
        InjectClipboardText('\n');
}

void CCeguiGUI::SetProperty(const std::string& window, const std::string& name, const std::string& value)
{
    // "Tooltip" is the older name of the tooltip's text.
    const std::string property = name == "Tooltip" ? "TooltipText" : name;
    try {
        m_Windows.Get(window).setProperty(ToCegui(property), ToCegui(value));
    } catch (const CEGUI::UnknownObjectException& e) {
        ThrowMissingWindow(window, e);
    }
}

void CCeguiGUI::CopyTextToClipboard(const std::string& text)
{
    if (!text.empty())
        Clipboard() = text;
}

std::string CCeguiGUI::GetClipboardText()
{
    return Clipboard();
}

void CCeguiGUI::InjectKey(const sds::CDiscreteEvent& event)
{
    CEGUI::GUIContext& context = Context();
    if (event.Key < MouseButtonBase) {
        const CEGUI::Key::Scan key = static_cast<CEGUI::Key::Scan>(event.Key);
        if (event.Type == sds::EVENT_KEY_PRESSED) {
            context.injectKeyDown(key);
            // A byte of 128 or more is a Latin-1 character, not a negative number.
            context.injectChar(static_cast<unsigned char>(event.Char));
        } else if (event.Type == sds::EVENT_KEY_RELEASED) {
            context.injectKeyUp(key);
        }
    } else if (event.Type == sds::EVENT_KEY_PRESSED) {
        context.injectMouseButtonDown(MapMouseButton(event.Key));
    } else if (event.Type == sds::EVENT_KEY_RELEASED) {
        context.injectMouseButtonUp(MapMouseButton(event.Key));
    }
}

void CCeguiGUI::InjectMouse(const sds::CAnalogEvent& event)
{
    // Kinds 200 and 201 carry mouse movements.
    if (event.Type != sds::EVENT_MOUSE_MOVED && event.Type != sds::EVENT_MOUSE_MOVED + 1)
        return;
    const CEGUI::Sizef& size = m_Renderer->getDisplaySize();
    Context().injectMousePosition(size.d_width * event.Pos[0], size.d_height * event.Pos[1]);
}

void CCeguiGUI::InjectTimePulse(const sds::CFrameEvent& event)
{
    CEGUI::System::getSingleton().injectTimePulse(event.TimeSinceLastFrame);
    Context().injectTimePulse(event.TimeSinceLastFrame);
}

void CCeguiGUI::CreateImageset(const xml::CNodePtr& imageset)
{
    CEGUI::ImageManager::getSingleton().loadImageset(ToCegui(Attribute(imageset, "File")), "");
}

void CCeguiGUI::ApplyLayoutChanges(const xml::CNodePtr& guiNode)
{
    xml::ForEachChild(*guiNode, "ScrollBar", [this](const xml::CNodePtr& bar) {
        SetScrollbarSizes(Attribute(bar, "Name"), FloatAttribute(bar, "DataSize"), FloatAttribute(bar, "PageSize"),
                          FloatAttribute(bar, "StepSize"), FloatAttribute(bar, "OverlapSize"));
    });
    xml::ForEachChild(*guiNode, "DisableRollUp",
                 [this](const xml::CNodePtr& entry) { DisableRollUp(Attribute(entry, "Name")); });

    const xml::CNodePtr change = guiNode->GetChild("Change");
    xml::ForEachChild(*change, "Remove", [this](const xml::CNodePtr& entry) { RemoveWindow(Attribute(entry, "Window")); });
    xml::ForEachChild(*change, "RemoveTab", [this](const xml::CNodePtr& entry) {
        RemoveTab(Attribute(entry, "TabControl"), Attribute(entry, "Tab"));
    });
    xml::ForEachChild(*change, "SetProperty", [this](const xml::CNodePtr& entry) {
        // Long texts are given as the element's own text.
        const std::string value = entry->HasAttribute("Value") ? Attribute(entry, "Value") : entry->GetValue();
        SetProperty(Attribute(entry, "Window"), Attribute(entry, "Name"), value);
    });
}

void CCeguiGUI::DisableRollUp(const std::string& window)
{
    CEGUI::Window& frame = m_Windows.Get(window);
    if (frame.getType() == FrameWindowType)
        static_cast<CEGUI::FrameWindow&>(frame).setRollupEnabled(false);
}

void CCeguiGUI::RemoveWindow(const std::string& window)
{
    try {
        CEGUI::Window& removed = m_Windows.Get(window);
        if (CEGUI::Window* parent = removed.getParent())
            parent->removeChild(&removed);
        m_Windows.RememberDetached(window, removed);
    } catch (const CEGUI::UnknownObjectException& e) {
        ThrowMissingWindow(window, e);
    }
}

void CCeguiGUI::RemoveTab(const std::string& tabControl, const std::string& tab)
{
    try {
        CEGUI::TabControl* tabs = dynamic_cast<CEGUI::TabControl*>(&m_Windows.Get(tabControl));
        if (!tabs)
            CEGUI_THROW(CEGUI::UnknownObjectException("'" + ToCegui(tabControl) + "' is not a tab control"));
        CEGUI::Window& page = m_Windows.Get(tab);
        tabs->removeTab(page.getName());
        m_Windows.RememberDetached(tab, page);
    } catch (const CEGUI::UnknownObjectException& e) {
        LogToLibrary(e.getMessage());
        throw std::runtime_error("Tab or tab control does not exist. " + FromCegui(e.getMessage()));
    }
}

void CCeguiGUI::SubscribeEvents()
{
    CEGUI::GlobalEventSet& events = CEGUI::GlobalEventSet::getSingleton();
    auto subscribe = [&](const CEGUI::String& eventNamespace, const CEGUI::String& name,
                         bool (CCeguiGUI::*handler)(const CEGUI::EventArgs&)) {
        m_LibrarySubscriptions.push_back(
            events.subscribeEvent(eventNamespace + "/" + name, CEGUI::Event::Subscriber(handler, this)));
    };
    subscribe(CEGUI::PushButton::EventNamespace, CEGUI::PushButton::EventClicked, &CCeguiGUI::OnButtonClicked);
    subscribe(CEGUI::Window::EventNamespace, CEGUI::Window::EventMouseEntersSurface, &CCeguiGUI::OnButtonHover);
    subscribe(CEGUI::Listbox::EventNamespace, CEGUI::Listbox::EventSelectionChanged, &CCeguiGUI::OnWidgetEvent);
    subscribe(CEGUI::Combobox::EventNamespace, CEGUI::Combobox::EventListSelectionAccepted, &CCeguiGUI::OnWidgetEvent);
    subscribe(CEGUI::ToggleButton::EventNamespace, CEGUI::ToggleButton::EventSelectStateChanged,
              &CCeguiGUI::OnWidgetEvent);
    subscribe(CEGUI::Scrollbar::EventNamespace, CEGUI::Scrollbar::EventScrollPositionChanged,
              &CCeguiGUI::OnWidgetEvent);
    subscribe(CEGUI::TabControl::EventNamespace, CEGUI::TabControl::EventSelectionChanged, &CCeguiGUI::OnWidgetEvent);
}

bool CCeguiGUI::OnWidgetEvent(const CEGUI::EventArgs& args)
{
    FireGUIEvent(*static_cast<const CEGUI::WindowEventArgs&>(args).window);
    return true;
}

bool CCeguiGUI::OnButtonClicked(const CEGUI::EventArgs& args)
{
    if (m_ClickSound)
        m_ClickSound();
    FireGUIEvent(*static_cast<const CEGUI::WindowEventArgs&>(args).window);
    return true;
}

bool CCeguiGUI::OnButtonHover(const CEGUI::EventArgs& args)
{
    const CEGUI::Window* window = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    if (m_HoverSound && dynamic_cast<const CEGUI::PushButton*>(window))
        m_HoverSound();
    return true;
}

bool CCeguiGUI::OnWindowCreated(const CEGUI::EventArgs& args)
{
    CEGUI::Editbox* box = dynamic_cast<CEGUI::Editbox*>(static_cast<const CEGUI::WindowEventArgs&>(args).window);
    if (!box)
        return true;
    // The layout's "MaxTextLength", set after this, replaces the default.
    if (box->getMaxTextLength() > DefaultMaxTextLength)
        box->setMaxTextLength(DefaultMaxTextLength);
    auto validator = std::make_unique<CStdRegexMatcher>(*box);
    // The box keeps the string it was made with and does not hand it to a new
    // validator: set it here.
    validator->setRegexString(box->getValidationString());
    box->setValidator(validator.get());
    CValidator& entry = m_Validators[box];
    entry.Matcher = std::move(validator);
    entry.Destroyed = box->subscribeEvent(CEGUI::Window::EventDestructionStarted,
                                          CEGUI::Event::Subscriber(&CCeguiGUI::OnEditboxDestroyed, this));
    return true;
}

bool CCeguiGUI::OnEditboxDestroyed(const CEGUI::EventArgs& args)
{
    // The box takes no input from here on; its validator goes with it.
    m_Validators.erase(static_cast<const CEGUI::WindowEventArgs&>(args).window);
    return true;
}

void CCeguiGUI::FireGUIEvent(const CEGUI::Window& window)
{
    const sds::CGUIEvent event(m_Windows.GetPath(window), sds::EVENT_GUI, 0.0f);
    std::string failure;
    try {
        sds::IEventMgr::GetSingleton()->FireGUIEvent(event);
        return;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Unknown exception";
    }
    sds::ILogMgr::GetSingleton()->LogError("Handling '" + event.Window + "' failed: " + failure);
    if (m_HandlerFailure)
        m_HandlerFailure(failure);
}

void CCeguiGUI::SetHandlerFailureCallback(const CHandlerFailureCallback& callback)
{
    m_HandlerFailure = callback;
}

bool CCeguiGUI::NeedsRedraw() const
{
    return Context().isDirty();
}

CEGUI::Window& CCeguiGUI::GetTested(const std::string& window) const
{
    CEGUI::Window* found = m_Windows.Find(window);
    if (!found)
        throw std::runtime_error("Window does not exist: " + window);
    return *found;
}

void CCeguiGUI::LogKindError(const std::string& window, const char* text) const
{
    sds::ILogMgr::GetSingleton()->LogError("'" + window + text);
}

void CCeguiGUI::InjectClipboardText(unsigned newLineReplacement)
{
    CEGUI::GUIContext& context = Context();
    for (CEGUI::utf32 codePoint : ToCegui(GetClipboardText())) {
        if (codePoint == '\n' && newLineReplacement == '\n')
            context.injectKeyDown(CEGUI::Key::Return); // a line break in a multi-line box
        else
            context.injectChar(codePoint == '\n' ? newLineReplacement : codePoint);
    }
}

CEGUI::Window* CCeguiGUI::GetFocusedWindow() const
{
    CEGUI::Window* root = m_Windows.GetRoot();
    CEGUI::Window* focused = root ? root->getActiveChild() : nullptr;
    return focused == root ? nullptr : focused;
}

} // namespace wrappers
