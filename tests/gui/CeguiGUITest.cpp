// The GUI service over CEGUI with its renderer that draws nothing, on the
// program's own GUI data and default configuration. One CEGUI system and one
// GUI service serve the whole suite.

#include <algorithm>
#include <functional>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>
#include <gtest/gtest.h>

#include "app/Engine.h"
#include "app/JumpRecord.h"
#include "core/ConfigPath.h"
#include "core/UnitConverter.h"
#include "core/XmlFile.h"
#include "gui/CeguiGUI.h"
#include "gui/CeguiText.h"
#include "gui/WindowResolver.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/HelpState.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MenuServices.h"
#include "gui/menus/MessageBoxState.h"
#include "gui/menus/SettingsMenuState.h"
#include "gui/menus/StatisticsMenuState.h"
#include "gui/menus/TestEngineStates.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeSndMgr.h"
#include "support/TempDir.h"

using namespace sds;
using wrappers::CCeguiGUI;

namespace {

const float Width = 1024.0f;
const float Height = 768.0f;

// A graphics-settings list as the GUI makes it: its rows are "A" and "B",
// and picking a row sets them again, as a real list rebuilds itself.
struct CFakeSettingsList
{
    CFakeSettingsList(const std::string& window, const CCeguiGUI::CSetRows& setRows,
                      const CCeguiGUI::CGetSelectedRow& getSelectedRow)
        : Window(window), SetRows(setRows), GetSelectedRow(getSelectedRow)
    {
        Connection = IEventMgr::GetSingleton()->ConnectGUIEvent(CGUIEvent(window), [this](const CGUIEvent&) {
            Picked.push_back(GetSelectedRow());
            SetRows({"A", "B"});
        });
        SetRows({"A", "B"});
    }

    std::string Window;
    CCeguiGUI::CSetRows SetRows;
    CCeguiGUI::CGetSelectedRow GetSelectedRow;
    std::vector<std::string> Picked;
    boost::signals2::scoped_connection Connection;
};

// Everything the GUI service needs, built once.
struct CWorld
{
    CWorld()
        : App(LoadDefaultConfig()), Services(App.m_Config),
          Renderer(CEGUI::NullRenderer::create())
    {
        Renderer.setDisplaySize(CEGUI::Sizef(Width, Height));
        CEGUI::System::create(Renderer);
        auto* resources =
            static_cast<CEGUI::DefaultResourceProvider*>(CEGUI::System::getSingleton().getResourceProvider());
        resources->setResourceGroupDirectory("gui", SDS_RUN_DIR "/data/gui/");
        resources->setDefaultResourceGroup("gui");

        auto loadSound = [this](const xml::CNodePtr& sound) {
            const std::string name = sound->GetAttribute("Name")->GetValue();
            return [this, name] { ++Sounds[name]; };
        };
        auto createSettingsList = [this](const std::string& window, const CCeguiGUI::CSetRows& setRows,
                                         const CCeguiGUI::CGetSelectedRow& getSelectedRow) {
            auto list = std::make_shared<CFakeSettingsList>(window, setRows, getSelectedRow);
            SettingsList = list;
            return std::static_pointer_cast<void>(list);
        };
        Gui = std::make_unique<CCeguiGUI>(App.GetConfig()->GetChild("GUI"), &Renderer, loadSound, createSettingsList);
        CEGUI::GUIContext& context = CEGUI::System::getSingleton().getDefaultGUIContext();
        Windows.SetRoot(context.getRootWindow());
        for (size_t i = 0; i < Windows.GetRoot()->getChildCount(); ++i)
            if (Windows.GetRoot()->getChildAtIdx(i)->isVisible())
                ShownAtStart.push_back(Windows.GetRoot()->getChildAtIdx(i)->getName().c_str());
        CursorShownAtStart = context.getMouseCursor().isVisible();
        CursorAtStart = context.getMouseCursor().getPosition();
        GuiEngine = std::make_unique<CGuiEngine>();
    }

    ~CWorld()
    {
        GuiEngine.reset();
        Gui.reset();
        CEGUI::System::destroy();
        CEGUI::NullRenderer::destroy(Renderer);
    }

    CCapturingLogMgr Log;
    CFakeEventMgr Events;
    CFakeApplication App;
    CFakeSndMgr Sound;
    CMenuServices Services;
    CTestEngine Engine;
    CEGUI::NullRenderer& Renderer;
    std::weak_ptr<CFakeSettingsList> SettingsList;
    std::map<std::string, int> Sounds;
    std::unique_ptr<CCeguiGUI> Gui;
    std::unique_ptr<CGuiEngine> GuiEngine;
    wrappers::CWindowResolver Windows;
    std::vector<std::string> ShownAtStart;
    bool CursorShownAtStart = true;
    CEGUI::Vector2f CursorAtStart;
};

class CeguiGUITest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_World = new CWorld; }
    static void TearDownTestSuite()
    {
        delete s_World;
        s_World = nullptr;
    }

    void SetUp() override
    {
        CEGUI::Window* root = s_World->Windows.GetRoot();
        for (size_t i = 0; i < root->getChildCount(); ++i)
            root->getChildAtIdx(i)->hide();
        s_World->Log.m_Lines.clear();
        s_World->Sounds.clear();
    }

    void TearDown() override
    {
        Gui().DisconnectInputs();
        s_World->GuiEngine->Stop();
    }

    static CCeguiGUI& Gui() { return *s_World->Gui; }
    static CEGUI::Window& Window(const std::string& path) { return s_World->Windows.Get(path); }
    static CEGUI::GUIContext& Context() { return CEGUI::System::getSingleton().getDefaultGUIContext(); }
    static CCapturingLogMgr& Log() { return s_World->Log; }

    // Counts the GUI events of a window while the test runs.
    int* CountEvents(const std::string& window)
    {
        auto count = std::make_shared<int>(0);
        m_Connections.emplace_back(
            s_World->Events.ConnectGUIEvent(CGUIEvent(window), [count](const CGUIEvent& e) {
                EXPECT_EQ(EVENT_GUI, e.Type);
                ++*count;
            }));
        m_Counts.push_back(count);
        return count.get();
    }

    void MoveMouse(float x, float y, std::int32_t kind = EVENT_MOUSE_MOVED)
    {
        CAnalogEvent event;
        event.Type = kind;
        event.Pos[0] = x / Width;
        event.Pos[1] = y / Height;
        s_World->Events.FireAnalogEvent(event);
    }

    void MoveMouseOnto(const std::string& path)
    {
        const CEGUI::Rectf area = Window(path).getUnclippedOuterRect().get();
        MoveMouse((area.left() + area.right()) / 2.0f, (area.top() + area.bottom()) / 2.0f);
    }

    void Key(std::int32_t type, std::int32_t key, char character = ' ')
    {
        CDiscreteEvent event;
        event.Type = type;
        event.Key = key;
        event.Char = character;
        s_World->Events.FireDiscreteEvent(event);
    }

    void ClickMouse(std::int32_t button = MOUSE_BUTTON_KEY_BASE)
    {
        Key(EVENT_KEY_PRESSED, button);
        Key(EVENT_KEY_RELEASED, button);
    }

    // Records the keys and characters that reach the window.
    std::vector<std::string> RecordInput(const std::string& path)
    {
        m_Input.clear();
        CEGUI::Window& window = Window(path);
        m_LibraryConnections.push_back(
            window.subscribeEvent(CEGUI::Window::EventKeyDown, [this](const CEGUI::EventArgs& a) {
                m_Input.push_back("key " + std::to_string(static_cast<const CEGUI::KeyEventArgs&>(a).scancode));
                return false;
            }));
        m_LibraryConnections.push_back(
            window.subscribeEvent(CEGUI::Window::EventCharacterKey, [this](const CEGUI::EventArgs& a) {
                m_Input.push_back("char " + std::to_string(static_cast<const CEGUI::KeyEventArgs&>(a).codepoint));
                return false;
            }));
        return m_Input;
    }

    // Shows the screen and gives the edit box the input focus.
    void Focus(const std::string& screen, const std::string& path)
    {
        Gui().ShowWindow(screen, true);
        Window(path).activate();
        ASSERT_EQ(&Window(path), s_World->Windows.GetRoot()->getActiveChild());
    }

    ~CeguiGUITest() override
    {
        for (CEGUI::Event::Connection& c : m_LibraryConnections)
            c->disconnect();
    }

    static CWorld* s_World;
    std::vector<boost::signals2::scoped_connection> m_Connections;
    std::vector<std::shared_ptr<int>> m_Counts;
    std::vector<CEGUI::Event::Connection> m_LibraryConnections;
    std::vector<std::string> m_Input;
};

CWorld* CeguiGUITest::s_World = nullptr;

std::string ThrownText(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "nothing thrown";
}

TEST_F(CeguiGUITest, StartsWithEveryScreenAndTheCursorHidden)
{
    EXPECT_EQ(std::vector<std::string>(), s_World->ShownAtStart);
    EXPECT_FALSE(s_World->CursorShownAtStart);
    EXPECT_EQ(CEGUI::Vector2f(Width / 2.0f, Height / 2.0f), s_World->CursorAtStart);
}

TEST_F(CeguiGUITest, MissingWindowsThrow)
{
    EXPECT_EQ("Window does not exist: wndNope/x", ThrownText([] { Gui().GetText("wndNope/x"); }));
    EXPECT_EQ("Window does not exist: wndNope/x", ThrownText([] { Gui().SetText("wndNope/x", "a"); }));
    EXPECT_EQ("Window does not exist: wndNope/x", ThrownText([] { Gui().SetItems("wndNope/x", {"a"}, 0); }));
    EXPECT_EQ("Window does not exist: wndNope", ThrownText([] { Gui().SelectTab("wndNope", "wndAlsoNope"); }));
    EXPECT_EQ("Window does not exist: wndNope",
              ThrownText([] { Gui().SelectTab("wndSettings/tcSections", "wndNope"); }));
    EXPECT_FALSE(Gui().IsWindowPresent("wndNope/x"));
    EXPECT_FALSE(Gui().IsWindowPresent("wndMainMenu/"));
    EXPECT_EQ(0u, ThrownText([] { Gui().ShowWindow("wndNope/x", true); }).find("Window does not exist: wndNope/x. "));
    const std::string property = ThrownText([] { Gui().SetProperty("wndMainMenu/btnExit", "Nope", "1"); });
    EXPECT_EQ(0u, property.find("Window does not exist: wndMainMenu/btnExit. ")) << property;
    EXPECT_NE(std::string::npos, property.find("Nope")) << property;
}

TEST_F(CeguiGUITest, WidgetsOfTheWrongKindLogAndChangeNothing)
{
    EXPECT_FALSE(Gui().IsChecked("wndMainMenu/btnExit"));
    EXPECT_EQ(0.0f, Gui().GetScrollPosition("wndSettings/chbInvertY"));
    EXPECT_EQ(0.0f, Gui().GetSpinnerValue("wndDropZone/lbPresets"));
    EXPECT_EQ("", Gui().GetSelectedItem("wndHelp/mleKeyboard"));
    Gui().SetItems("wndMainMenu/btnExit", {"a"}, 0);
    Gui().ClearItems("wndMainMenu/btnExit");
    Gui().SetChecked("wndSettings/sbMusicVolume", true);
    EXPECT_EQ(std::vector<std::string>({
                  "Error: 'wndMainMenu/btnExit' is not a checkbox",
                  "Error: 'wndSettings/chbInvertY' must be a scrollbar",
                  "Error: 'wndDropZone/lbPresets' must be a spinner",
                  "Error: 'wndHelp/mleKeyboard' does not support getting selected items",
                  "Error: 'wndMainMenu/btnExit' does not support adding items",
                  "Error: 'wndMainMenu/btnExit' does not support clearing items",
                  "Error: 'wndSettings/sbMusicVolume' is not a checkbox",
              }),
              Log().m_Lines);
    EXPECT_EQ("Exit", Gui().GetText("wndMainMenu/btnExit"));
}

TEST_F(CeguiGUITest, ListBoxKeepsItsItemsAndTakesNewTexts)
{
    const std::string list = "wndStatistics/lbSelectJumps";
    auto& box = static_cast<CEGUI::Listbox&>(Window(list));
    Gui().SetItems(list, {"a", "b", "c", "d", "e"}, 1);
    EXPECT_EQ("b", Gui().GetSelectedItem(list));
    const CEGUI::ListboxItem* first = box.getListboxItemFromIndex(0);
    const CEGUI::ListboxItem* third = box.getListboxItemFromIndex(2);

    const struct
    {
        std::vector<std::string> Items;
        unsigned Index;
        const char* Selected;
    } cases[] = {
        {{"x", "y", "[z]"}, 2, "[z]"},
        {{"x", "y", "z"}, 3, "x"},
        {{"p", "q", "r"}, 1, "q"},
        {{"p", "q", "r", "s"}, 9, "p"},
    };
    for (const auto& c : cases) {
        Gui().SetItems(list, c.Items, c.Index);
        ASSERT_EQ(c.Items.size(), box.getItemCount());
        EXPECT_EQ(first, box.getListboxItemFromIndex(0)) << "item objects are kept";
        EXPECT_EQ(third, box.getListboxItemFromIndex(2));
        EXPECT_EQ(c.Selected, Gui().GetSelectedItem(list));
        EXPECT_EQ(1u, box.getSelectedCount());
    }
    const auto* added = static_cast<const CEGUI::ListboxTextItem*>(box.getListboxItemFromIndex(3));
    EXPECT_FALSE(added->isTextParsingEnabled()) << "names are shown as written, never as markup";

    Gui().SelectItem(list, "nothing like it");
    EXPECT_EQ("p", Gui().GetSelectedItem(list));
    Gui().SelectItem(list, "r");
    EXPECT_EQ("r", Gui().GetSelectedItem(list));

    Gui().SetItems(list, {}, 0);
    EXPECT_EQ(0u, box.getItemCount());
    EXPECT_EQ("", Gui().GetSelectedItem(list));
}

TEST_F(CeguiGUITest, ComboBoxShowsTheChosenTextAndKeepsItWhenEmptied)
{
    const std::string combo = "wndDropZone/cbWeight";
    auto& box = static_cast<CEGUI::Combobox&>(Window(combo));
    Gui().SetItems(combo, {"150lb", "160lb", "170lb"}, 1);
    EXPECT_EQ("160lb", Gui().GetSelectedItem(combo));
    Gui().SelectItem(combo, "200lb");
    EXPECT_EQ("160lb", Gui().GetText(combo));
    Gui().SelectItem(combo, "170lb");
    EXPECT_EQ("170lb", Gui().GetSelectedItem(combo));

    Gui().SetItems(combo, {}, 0);
    EXPECT_EQ(0u, box.getItemCount());
    EXPECT_EQ("170lb", Gui().GetText(combo));
    Gui().SetItems(combo, {"a", "b"}, 5);
    EXPECT_EQ("a", Gui().GetText(combo));
    Gui().ClearItems(combo);
    EXPECT_EQ(0u, box.getItemCount());
}

TEST_F(CeguiGUITest, TextsComeBackAsTheyWentIn)
{
    const std::string text = "Zürich \xE2\x9C\x93 [colour='FFFF0000']";
    Gui().SetText("wndMessageBox/Info", text);
    EXPECT_EQ(text, Gui().GetText("wndMessageBox/Info"));
    Gui().SetItems("wndTutorial/lbTutorial", {"Zürich"}, 0);
    EXPECT_EQ("Zürich", Gui().GetSelectedItem("wndTutorial/lbTutorial"));
}

// Names read from files may be Latin-1 or cut short: each byte that begins no
// well-formed UTF-8 sequence is the character of its value.
TEST_F(CeguiGUITest, TextsThatAreNotUtf8ComeBackAsTheirCharacters)
{
    const struct
    {
        std::string In;
        std::string Out;
    } cases[] = {
        {"Z\xFCrich", "Z\xC3\xBCrich"},
        {"end\xF0", "end\xC3\xB0"},
        {"cut \xE2\x9C", "cut \xC3\xA2\xC2\x9C"},
        {"\xC0\xAF overlong", "\xC3\x80\xC2\xAF overlong"},
        {"\xF4\x90\x80\x80 past U+10FFFF", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80 past U+10FFFF"},
    };
    for (const auto& c : cases) {
        Gui().SetText("wndMessageBox/Info", c.In);
        EXPECT_EQ(c.Out, Gui().GetText("wndMessageBox/Info")) << c.In;
    }

    const std::string list = "wndTutorial/lbTutorial";
    Gui().SetItems(list, {"Gen\xE8ve", "Z\xFCrich"}, 0);
    Gui().SelectItem(list, "Z\xFCrich");
    EXPECT_EQ("Z\xC3\xBCrich", Gui().GetSelectedItem(list)) << "an item is found by the text it was given";
}

TEST_F(CeguiGUITest, ChangingAWidgetRaisesItsGuiEvent)
{
    Gui().SetScrollPosition("wndSettings/sbMusicVolume", 0.0f);
    Gui().SetItems("wndTutorial/lbTutorial", {"zero"}, 0);
    Gui().SelectTab("wndSettings/tcSections", "wndSettings/tcSections/tabAudio");
    int* checkBox = CountEvents("wndSettings/chbInvertY");
    int* scrollBar = CountEvents("wndSettings/sbMusicVolume");
    int* list = CountEvents("wndTutorial/lbTutorial");
    int* tabs = CountEvents("wndSettings/tcSections");
    Gui().SetChecked("wndSettings/chbInvertY", !Gui().IsChecked("wndSettings/chbInvertY"));
    Gui().SetScrollPosition("wndSettings/sbMusicVolume", 0.5f);
    Gui().SetItems("wndTutorial/lbTutorial", {"one", "two"}, 1);
    Gui().SelectTab("wndSettings/tcSections", "wndSettings/tcSections/tabMouse");
    EXPECT_EQ(1, *checkBox);
    EXPECT_EQ(1, *scrollBar);
    EXPECT_EQ(1, *list);
    EXPECT_EQ(1, *tabs);
    EXPECT_FLOAT_EQ(0.5f, Gui().GetScrollPosition("wndSettings/sbMusicVolume"));
    EXPECT_EQ("tabMouse", static_cast<CEGUI::TabControl&>(Window("wndSettings/tcSections"))
                              .getTabContentsAtIndex(static_cast<CEGUI::TabControl&>(Window("wndSettings/tcSections"))
                                                         .getSelectedTabIndex())
                              ->getName());
}

TEST_F(CeguiGUITest, AClickPlaysTheClickSoundAndRaisesTheButtonsEvent)
{
    Gui().ShowWindow("wndMainMenu", true);
    Gui().ConnectInputs();
    int* help = CountEvents("wndMainMenu/btnHelp");

    MoveMouseOnto("wndMainMenu/btnHelp");
    EXPECT_EQ(1, s_World->Sounds["Hover"]);
    ClickMouse();
    EXPECT_EQ(1, *help);
    EXPECT_EQ(1, s_World->Sounds["Click"]);

    Context().setMouseButtonMultiClickTimeout(1e-9f); // two clicks, not a double click
    ClickMouse(MOUSE_BUTTON_KEY_BASE + 5);
    EXPECT_EQ(2, *help) << "buttons past the fifth count as the left one";
    ClickMouse(MOUSE_BUTTON_KEY_BASE + 1);
    EXPECT_EQ(2, *help) << "the right button clicks nothing";
}

TEST_F(CeguiGUITest, EnteringACheckBoxPlaysNothing)
{
    Gui().ShowWindow("wndSettings", true);
    Gui().SelectTab("wndSettings/tcSections", "wndSettings/tcSections/tabMouse");
    Gui().ConnectInputs();
    int* checkBox = CountEvents("wndSettings/chbInvertY");
    MoveMouseOnto("wndSettings/chbInvertY");
    EXPECT_EQ(&Window("wndSettings/chbInvertY"), Context().getWindowContainingMouse());
    EXPECT_EQ(0, s_World->Sounds["Hover"]);
    EXPECT_EQ(0, *checkBox);
}

TEST_F(CeguiGUITest, OnlyMouseMovementsMoveTheCursor)
{
    Gui().ConnectMouse();
    Gui().ConnectMouse();
    MoveMouse(100.0f, 200.0f);
    MoveMouse(300.0f, 300.0f, 202);
    EXPECT_EQ(CEGUI::Vector2f(100.0f, 200.0f), Context().getMouseCursor().getPosition());
    MoveMouse(120.0f, 220.0f, EVENT_MOUSE_MOVED + 1);
    EXPECT_EQ(CEGUI::Vector2f(120.0f, 220.0f), Context().getMouseCursor().getPosition());

    Gui().DisconnectMouse();
    MoveMouse(400.0f, 400.0f);
    EXPECT_EQ(CEGUI::Vector2f(120.0f, 220.0f), Context().getMouseCursor().getPosition())
        << "connecting twice kept one connection";
}

TEST_F(CeguiGUITest, KeysReachTheFocusedBoxOnlyWhileConnected)
{
    Focus("wndForceField", "wndForceField/ebNewFieldName");
    Gui().SetText("wndForceField/ebNewFieldName", "");
    Gui().ConnectKeyboard();
    Key(EVENT_KEY_PRESSED, 18, 'e');
    Key(EVENT_KEY_RELEASED, 18, 'e');
    Key(EVENT_KEY_PRESSED, 18, static_cast<char>(0xE9));
    EXPECT_EQ("e\xC3\xA9", Gui().GetText("wndForceField/ebNewFieldName")) << "a Latin-1 byte is its character";

    RecordInput("wndForceField/ebNewFieldName");
    Key(EVENT_KEY_PRESSED, 59, '\0');
    Key(EVENT_KEY_RELEASED, 59, '\0');
    EXPECT_EQ(m_Input.back(), "char 0") << "a key without a character gives character 0, its release nothing";
    EXPECT_EQ(1, std::count(m_Input.begin(), m_Input.end(), "char 0"));

    Gui().DisconnectKeyboard();
    Key(EVENT_KEY_PRESSED, 30, 'a');
    EXPECT_EQ("e\xC3\xA9", Gui().GetText("wndForceField/ebNewFieldName"));

    int updates = 0;
    m_LibraryConnections.push_back(s_World->Windows.GetRoot()->subscribeEvent(
        CEGUI::Window::EventUpdated, [&updates](const CEGUI::EventArgs&) {
            ++updates;
            return false;
        }));
    s_World->Events.FireFrame(0.02f);
    EXPECT_EQ(1, updates) << "the time pulse runs while the inputs are disconnected";
}

TEST_F(CeguiGUITest, PastingALineBreakTypesWhatEachBoxExpects)
{
    CCeguiGUI::CopyTextToClipboard("a\r\nb");

    Focus("wndForceField", "wndForceField/ebNewFieldName");
    RecordInput("wndForceField/ebNewFieldName");
    Gui().PasteFromClipboard();
    EXPECT_EQ(std::vector<std::string>({"char 97", "char 13", "char 32", "char 98"}), m_Input);

    Focus("wndEditForceField", "wndEditForceField/mleForce");
    Gui().SetText("wndEditForceField/mleForce", "");
    RecordInput("wndEditForceField/mleForce");
    Gui().PasteFromClipboard();
    EXPECT_EQ(std::vector<std::string>({"char 97", "char 13", "key 28", "char 98"}), m_Input);
    EXPECT_EQ(0u, Gui().GetText("wndEditForceField/mleForce").find("a\nb")) << "Return breaks the line";
}

TEST_F(CeguiGUITest, PastedTextKeepsItsCharacters)
{
    const struct
    {
        const char* Clipboard;
        const char* Typed;
    } cases[] = {
        {"Zürich", "Zürich"},
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"}, // bytes that are not UTF-8 count as Latin-1
        {"a\xC3", "a\xC3\x83"},               // a cut sequence too
    };
    Focus("wndForceField", "wndForceField/ebNewFieldName");
    for (const auto& c : cases) {
        CCeguiGUI::CopyTextToClipboard(c.Clipboard);
        Gui().SetText("wndForceField/ebNewFieldName", "");
        Gui().PasteFromClipboard();
        EXPECT_EQ(c.Typed, Gui().GetText("wndForceField/ebNewFieldName")) << c.Clipboard;
    }
}

TEST_F(CeguiGUITest, CopyTakesTheSelectionOfTheFocusedBox)
{
    CCeguiGUI::CopyTextToClipboard("before");
    Focus("wndForceField", "wndForceField/ebNewFieldName");
    Gui().SetText("wndForceField/ebNewFieldName", "hello world");
    Gui().CopyToClipboard();
    EXPECT_EQ("before", CCeguiGUI::GetClipboardText()) << "nothing selected";

    static_cast<CEGUI::Editbox&>(Window("wndForceField/ebNewFieldName")).setSelection(6, 11);
    Gui().CopyToClipboard();
    EXPECT_EQ("world", CCeguiGUI::GetClipboardText());

    Focus("wndEditForceField", "wndEditForceField/mleDescription");
    Gui().SetText("wndEditForceField/mleDescription", "one\ntwo");
    static_cast<CEGUI::MultiLineEditbox&>(Window("wndEditForceField/mleDescription")).setSelection(2, 5);
    Gui().CopyToClipboard();
    EXPECT_EQ("e\nt", CCeguiGUI::GetClipboardText());

    Gui().ShowWindow("wndMainMenu", true);
    Window("wndMainMenu/btnHelp").activate();
    Gui().CopyToClipboard();
    EXPECT_EQ("e\nt", CCeguiGUI::GetClipboardText()) << "a button has nothing to copy";
}

TEST_F(CeguiGUITest, SpinnerRangeAcceptsWholeNumbersOnly)
{
    const std::string spinner = "wndDropZone/spAltitude";
    Gui().SetSpinnerRange(spinner, 0.5f, 100.5f, 0.5f);
    Gui().SetSpinnerValue(spinner, 0.0f);
    Gui().ShowWindow("wndDropZone", true);
    Gui().SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabSettings");
    CEGUI::Window& text = *Window(spinner).getChild("__auto_editbox__");
    text.activate();
    static_cast<CEGUI::Editbox&>(text).setSelection(0, text.getText().length());
    for (char c : std::string("1.5"))
        Context().injectChar(static_cast<CEGUI::utf32>(c));
    EXPECT_EQ("15", Gui().GetText(spinner + "/__auto_editbox__"));
    EXPECT_FLOAT_EQ(15.0f, Gui().GetSpinnerValue(spinner));
}

TEST_F(CeguiGUITest, SpinnerDecimalsShowTheValueRoundedAndKeepIt)
{
    const std::string spinner = "wndDropZone/spAltitude";
    const std::string shown = spinner + "/__auto_editbox__";
    Gui().SetSpinnerRange(spinner, 0.0f, 400.0f, 10.0f);
    Gui().SetSpinnerDecimals(spinner, 1);
    const struct
    {
        float Value;
        const char* Shown;
    } cases[] = {{60.96f, "61.0"}, {12.87f, "12.9"}, {200.0f, "200.0"}, {0.04f, "0.0"}};
    for (const auto& c : cases) {
        Gui().SetSpinnerValue(spinner, c.Value);
        EXPECT_EQ(c.Shown, Gui().GetText(shown)) << c.Value;
        EXPECT_FLOAT_EQ(c.Value, Gui().GetSpinnerValue(spinner)) << "the value is kept, not the text's";
    }

    // The arrows step from the value; the user types decimals, taken as typed.
    Gui().SetSpinnerValue(spinner, 60.96f);
    static_cast<CEGUI::Spinner&>(Window(spinner)).setCurrentValue(60.96 + 10.0);
    EXPECT_EQ("71.0", Gui().GetText(shown));
    Gui().ShowWindow("wndDropZone", true);
    Gui().SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabSettings");
    CEGUI::Window& text = *Window(spinner).getChild("__auto_editbox__");
    text.activate();
    static_cast<CEGUI::Editbox&>(text).setSelection(0, text.getText().length());
    for (char c : std::string("72.25"))
        Context().injectChar(static_cast<CEGUI::utf32>(c));
    EXPECT_EQ("72.25", Gui().GetText(shown));
    EXPECT_FLOAT_EQ(72.25f, Gui().GetSpinnerValue(spinner));

    // A new range is whole numbers again, until decimals are asked for.
    Gui().SetSpinnerRange(spinner, 0.0f, 400.0f, 10.0f);
    Gui().SetSpinnerValue(spinner, 60.96f);
    EXPECT_EQ("60", Gui().GetText(shown));
    Gui().SetSpinnerValue(spinner, 0.0f);
}

TEST_F(CeguiGUITest, EditBoxesRefuseTextBeyondTheirLengthBeforeMatchingIt)
{
    EXPECT_EQ(60u, static_cast<CEGUI::Editbox&>(Window("wndForceField/ebNewFieldName")).getMaxTextLength())
        << "the layout's own length";
    CEGUI::Editbox& spinnerText =
        static_cast<CEGUI::Editbox&>(*Window("wndDropZone/spAltitude").getChild("__auto_editbox__"));
    const size_t cap = spinnerText.getMaxTextLength();
    EXPECT_GE(cap, 60u);
    EXPECT_LE(cap, 4096u) << "a box without a length of its own gets a sane one";

    // The matcher recurses per character: a whole file's worth must be refused
    // unmatched rather than exhaust the stack. A box matches its text when its
    // validation string changes, and tells when the answer changes.
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    auto* box = static_cast<CEGUI::Editbox*>(windows.createWindow("Dravonkel/Editbox", "capped"));
    EXPECT_EQ(cap, box->getMaxTextLength());
    std::vector<CEGUI::RegexMatcher::MatchState> answers;
    box->subscribeEvent(CEGUI::Editbox::EventTextValidityChanged, [&answers](const CEGUI::EventArgs& args) {
        answers.push_back(static_cast<const CEGUI::RegexMatchStateEventArgs&>(args).matchState);
        return false;
    });
    const std::string huge(100000, '7');
    box->setText(wrappers::ToCegui(huge.substr(0, cap)));
    box->setValidationString("[0-9]*");
    box->setText(wrappers::ToCegui(huge));
    box->setValidationString("[0-9]+");
    box->setText("x");
    box->setValidationString("[0-9]*");
    EXPECT_EQ((std::vector<CEGUI::RegexMatcher::MatchState>{CEGUI::RegexMatcher::MS_INVALID,
                                                            CEGUI::RegexMatcher::MS_INVALID}),
              answers)
        << "the text of the box's length matched, the longer one was refused (as a letter is)";
    windows.destroyWindow(box);

    // Pasted, it stops at the cap.
    Gui().SetSpinnerValue("wndDropZone/spAltitude", 0.0f);
    Gui().ShowWindow("wndDropZone", true);
    Gui().SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabSettings");
    spinnerText.activate();
    spinnerText.setSelection(0, spinnerText.getText().length());
    CCeguiGUI::CopyTextToClipboard(huge);
    Gui().PasteFromClipboard();
    EXPECT_LE(spinnerText.getText().length(), cap);
    Gui().SetSpinnerValue("wndDropZone/spAltitude", 0.0f);
}

TEST_F(CeguiGUITest, EachEditBoxTakesItsValidatorWithIt)
{
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    const std::size_t before = Gui().GetValidatorCount();
    for (int i = 0; i < 1000; ++i) {
        CEGUI::Window* screen = windows.createWindow("Dravonkel/FrameWindow", "validated" + CEGUI::PropertyHelper<int>::toString(i));
        screen->addChild(windows.createWindow("Dravonkel/Editbox", "text"));
        screen->addChild(windows.createWindow("Dravonkel/Spinner", "number"));
        s_World->Windows.GetRoot()->addChild(screen);
        windows.destroyWindow(screen);
    }
    windows.cleanDeadPool();
    EXPECT_EQ(before, Gui().GetValidatorCount());
}

TEST_F(CeguiGUITest, AFailingHandlerIsLoggedAndShownInAMessageBox)
{
    GuiStates::GoToMainMenu(*s_World->GuiEngine);
    boost::signals2::scoped_connection failing = s_World->Events.ConnectGUIEvent(
        CGUIEvent("wndSettings/chbInvertY"),
        [](const CGUIEvent&) { throw std::runtime_error("Preset 'Beginner' has no row 'Altitude'"); });

    Gui().SetChecked("wndSettings/chbInvertY", !Gui().IsChecked("wndSettings/chbInvertY"));
    EXPECT_TRUE(Log().Has("Error: Handling 'wndSettings/chbInvertY' failed: Preset 'Beginner' has no row 'Altitude'"));
    EXPECT_NE(nullptr, dynamic_cast<GuiStates::CMessageBoxState*>(s_World->GuiEngine->GetCurrentState()));
    EXPECT_EQ("Preset 'Beginner' has no row 'Altitude'", Gui().GetText("wndMessageBox/Info"));
    EXPECT_TRUE(Window("wndMessageBox").isVisible());
}

TEST_F(CeguiGUITest, AWindowShownComesInFrontOfThoseShownBefore)
{
    // A failure while a screen is shown, such as the force-field screen that
    // the layout lists after the message box, must not hide the box under it.
    const CEGUI::Vector2f centre(Width / 2.0f, Height / 2.0f);
    CEGUI::Window* root = s_World->Windows.GetRoot();
    for (const char* screen : {"wndForceField", "wndDropZone", "wndStatistics"}) {
        SCOPED_TRACE(screen);
        Gui().ShowWindow(screen, true);
        Gui().ShowWindow("wndMessageBox", true);
        const CEGUI::Window* hit = root->getTargetChildAtPosition(centre);
        ASSERT_NE(nullptr, hit);
        EXPECT_TRUE(hit == &Window("wndMessageBox") || hit->isAncestor(&Window("wndMessageBox"))) << hit->getNamePath();

        // A screen pushed over the box covers it in turn.
        Gui().ShowWindow(screen, true);
        hit = root->getTargetChildAtPosition(centre);
        EXPECT_TRUE(hit == &Window(screen) || hit->isAncestor(&Window(screen))) << hit->getNamePath();
        Gui().ShowWindow("wndMessageBox", false);
        Gui().ShowWindow(screen, false);
    }
}

TEST_F(CeguiGUITest, ConfiguredLayoutEditsAreApplied)
{
    EXPECT_FALSE(static_cast<CEGUI::FrameWindow&>(Window("wndMainMenu/Frame")).isRollupEnabled());
    EXPECT_FALSE(static_cast<CEGUI::FrameWindow&>(Window("wndHelp")).isRollupEnabled());
    const auto& sensitivity = static_cast<CEGUI::Scrollbar&>(Window("wndSettings/sbMouseInputsSensitivity"));
    EXPECT_FLOAT_EQ(2.2f, sensitivity.getDocumentSize());
    EXPECT_FLOAT_EQ(0.1f, static_cast<CEGUI::Scrollbar&>(Window("wndSettings/sbMusicVolume")).getPageSize());
    EXPECT_EQ(0u, Gui().GetText("wndHelp/mleKeyboard").find("Keys of the input bindings"));

    // Removed windows and tabs leave the tree but can still be addressed.
    EXPECT_EQ(nullptr, s_World->Windows.Find("wndInGameMenu/btnEdit"));
    EXPECT_TRUE(Gui().IsWindowPresent("wndInGameMenu/btnEdit"));
    Gui().ShowWindow("wndInGameMenu/btnEdit", true);
    EXPECT_EQ(4u, static_cast<CEGUI::TabControl&>(Window("wndSettings/tcSections")).getTabCount());
    EXPECT_EQ(nullptr, s_World->Windows.Find("wndSettings/tcSections/tabForceFields"));
    EXPECT_TRUE(Gui().IsWindowPresent("wndSettings/tcSections/tabForceFields"));
    // So can the widgets inside them, and they raise their events by their paths.
    const std::string bar = "wndSettings/sbForceFieldVisualization";
    EXPECT_TRUE(Gui().IsWindowPresent(bar));
    EXPECT_TRUE(Gui().IsWindowPresent("wndSettings/tcSections/tabForceFields/sbForceFieldVisualization"));
    EXPECT_FALSE(Gui().IsWindowPresent("wndSettings/tabAudio/sbForceFieldVisualization"));
    EXPECT_FALSE(Gui().IsWindowPresent("wndInGameMenu/btnEdit/x"));
    Gui().SetScrollPosition(bar, 0.0f);
    int* barEvents = CountEvents(bar);
    Gui().SetScrollPosition(bar, 0.7f);
    EXPECT_EQ(1, *barEvents);
    EXPECT_FLOAT_EQ(0.7f, Gui().GetScrollPosition(bar));

    EXPECT_EQ("Dravonkel/Tooltip", Context().getDefaultTooltipObject()->getType());
    Gui().SetProperty("wndStatistics/btnDone", "Tooltip", "Go to main menu");
    EXPECT_EQ("Go to main menu", Window("wndStatistics/btnDone").getTooltipText());
    EXPECT_EQ("Dravonkel/MouseArrow", Context().getMouseCursor().getDefaultImage()->getName());
}

// Every button's and check box's words fit inside its frame with room to
// spare at 1024 x 768, the texts of the layout and those the screens set.
TEST_F(CeguiGUITest, ButtonAndCheckBoxTextsFitTheirFrames)
{
    // The screens' own texts for their buttons.
    const std::pair<const char*, const char*> setByScreens[] = {
        {"wndStatistics/btnDone", "Change DZ"}, {"wndStatistics/btnDone", "Main menu"}};
    std::vector<std::pair<const CEGUI::Window*, std::string>> labelled;
    std::function<void(const CEGUI::Window&)> collect = [&](const CEGUI::Window& window) {
        const std::string type = window.getType().c_str();
        if (type == "Dravonkel/Button" || type == "Dravonkel/Checkbox")
            labelled.push_back({&window, window.getText().c_str()});
        for (size_t i = 0; i < window.getChildCount(); ++i)
            collect(*window.getChildAtIdx(i));
    };
    collect(*s_World->Windows.GetRoot());
    for (const auto& [path, text] : setByScreens)
        labelled.push_back({&Window(path), text});
    ASSERT_LT(20u, labelled.size());

    for (const auto& [window, text] : labelled) {
        const std::string name = window->getNamePath().c_str();
        const float width = window->getPixelSize().d_width;
        const float words = window->getFont()->getTextExtent(CEGUI::String(text));
        if (std::string(window->getType().c_str()) == "Dravonkel/Button") {
            // The frame's ends are 12 px; the words keep 6 px from each.
            EXPECT_LE(words + 2 * (12 + 6), width) << name << ": \"" << text << "\"";
        } else {
            const CEGUI::Image& image = CEGUI::ImageManager::getSingleton().get("Dravonkel/CheckboxNormal");
            const float box = image.getRenderedSize().d_width;
            EXPECT_GE(box, 20.0f) << "a box to see at a glance";
            EXPECT_LE(box + 3 + words, width) << name << ": \"" << text << "\"";
        }
    }
}

TEST_F(CeguiGUITest, TheMenusRunOnTheRealLayout)
{
    CGuiEngine& machine = *s_World->GuiEngine;
    EXPECT_EQ("Dravonkel\nSkorvel Personal", Gui().GetText("wndMainMenu/stEdition"));
    GuiStates::GoToMainMenu(machine);
    EXPECT_TRUE(Window("wndMainMenu").isVisible());
    EXPECT_FALSE(Window("wndMainMenu/btnTutorial").isVisible());
    EXPECT_TRUE(Gui().IsDisabled("wndMainMenu/btnJumpLog"));

    GuiStates::ShowHelp(machine);
    EXPECT_FALSE(Window("wndMainMenu").isVisible());
    EXPECT_NE(std::string::npos, Gui().GetText("wndHelp/mleAboutInfo").find("Version: 1.2.863.0"));
    const std::string keyboard = Gui().GetText("wndHelp/mleKeyboard");
    EXPECT_NE(std::string::npos, keyboard.find("  Pull the main handle: Space or left mouse button\n")) << keyboard;
    EXPECT_EQ(std::string::npos, keyboard.find('{')) << keyboard;
    GuiStates::GoToInGameMenu(machine);
    EXPECT_TRUE(Window("wndInGameMenu").isVisible());
    GuiStates::ShowMessageBox(machine, "Done");
    EXPECT_EQ("Done", Gui().GetText("wndMessageBox/Info"));
}
TEST_F(CeguiGUITest, TheGraphicsSettingsListShowsItsRowsUnselectedAndHearsAPick)
{
    const std::shared_ptr<CFakeSettingsList> settings = s_World->SettingsList.lock();
    ASSERT_NE(nullptr, settings) << "the GUI made the list and keeps it";
    EXPECT_EQ("wndSettings/lbGfxParams", settings->Window);
    const auto& list = static_cast<CEGUI::Listbox&>(Window("wndSettings/lbGfxParams"));
    ASSERT_EQ(2u, list.getItemCount());
    EXPECT_EQ("B", list.getListboxItemFromIndex(1)->getText());
    EXPECT_EQ(0u, list.getSelectedCount());

    // The pick rebuilds the rows inside the list's own selection event.
    Gui().SelectItem("wndSettings/lbGfxParams", "B");
    EXPECT_EQ(std::vector<std::string>({"B"}), settings->Picked);
    EXPECT_EQ(2u, list.getItemCount());
    EXPECT_EQ(0u, list.getSelectedCount());
    EXPECT_EQ("", settings->GetSelectedRow());
}

// Every window the screens address, with the kind its name prefix promises,
// in a fresh copy of the layout (before the configuration's edits).
TEST_F(CeguiGUITest, TheLayoutHoldsEveryWindowTheScreensUse)
{
    const char* const paths[] = {
        "wndMainMenu/Frame", "wndMainMenu/btnExit", "wndMainMenu/btnHelp", "wndMainMenu/btnJumpLog",
        "wndMainMenu/btnSettings", "wndMainMenu/btnStart", "wndMainMenu/btnTutorial", "wndMainMenu/stEdition",
        "wndInGameMenu/btnContinue", "wndInGameMenu/btnEdit", "wndInGameMenu/btnEndSimulation",
        "wndInGameMenu/btnHelp", "wndInGameMenu/btnMainMenu",
        "wndHelp/btnClose", "wndHelp/mleAboutInfo", "wndHelp/tcSections", "wndHelp/tcSections/tabScripting",
        "wndMessageBox/Info", "wndMessageBox/btnClose",
        "wndStatistics/btnContinueTutorial", "wndStatistics/btnDone", "wndStatistics/btnJumpPlayer",
        "wndStatistics/btnRepeatJump", "wndStatistics/chbFilterConditions", "wndStatistics/chbFilterDZ",
        "wndStatistics/lbSelectJumps", "wndStatistics/stInfo",
        "wndSettings/btnApplyVideoSettings", "wndSettings/btnBack", "wndSettings/btnRestoreVideoSettings",
        "wndSettings/cbDisplayUnitSystem", "wndSettings/chbInvertY", "wndSettings/chbShowLandingComment",
        "wndSettings/chbUseShaders", "wndSettings/lbGfxParams", "wndSettings/sbForceFieldVisualization",
        "wndSettings/sbMouseInputsSensitivity", "wndSettings/sbMouseLookSensitivity", "wndSettings/sbMusicVolume",
        "wndSettings/sbSoundVolume", "wndSettings/sbSurfaceObjects", "wndSettings/tcSections",
        "wndSettings/tcSections/tabForceFields", "wndSettings/tcSections/tabVideo",
        "wndTutorial/btnMainMenu", "wndTutorial/btnStartTutorial", "wndTutorial/lbTutorial",
        "wndDropZone/btnBack", "wndDropZone/btnDeletePreset", "wndDropZone/btnJump", "wndDropZone/btnSavePreset",
        "wndDropZone/cbAltimeter", "wndDropZone/cbDropZones", "wndDropZone/cbInputType", "wndDropZone/cbSize",
        "wndDropZone/cbWeight", "wndDropZone/cbWindDirection", "wndDropZone/chbRandomWind",
        "wndDropZone/ebPresetName", "wndDropZone/lbPresets", "wndDropZone/mebPresetDescription",
        "wndDropZone/spAltitude", "wndDropZone/spTargetDistance", "wndDropZone/spWindStrength",
        "wndDropZone/stAltitudeUnits", "wndDropZone/stTargetDistanceUnits", "wndDropZone/stWindStrength",
        "wndDropZone/stWindUnits", "wndDropZone/tcSections", "wndDropZone/tcSections/tabConfigurations",
        "wndForceField/btnBack", "wndForceField/btnCreate", "wndForceField/btnEdit", "wndForceField/btnJump",
        "wndForceField/cbDropZones", "wndForceField/cbInputType", "wndForceField/cbSize", "wndForceField/cbWeight",
        "wndForceField/ebNewFieldName", "wndForceField/mlbDZDescription",
        "wndCreateForceField/btnCancel", "wndCreateForceField/btnCreate", "wndCreateForceField/cbForceTiming",
        "wndCreateForceField/cbForceType", "wndCreateForceField/mleDescription",
        "wndEditForceField/btnCancel", "wndEditForceField/btnDelete", "wndEditForceField/btnHelp",
        "wndEditForceField/btnOk", "wndEditForceField/btnVerify", "wndEditForceField/ebRadius1",
        "wndEditForceField/ebRadius2", "wndEditForceField/ebRadius3", "wndEditForceField/mleDescription",
        "wndEditForceField/mleForce",
        "wndEditorMenu/btnContinue", "wndEditorMenu/btnHelp", "wndEditorMenu/btnMainMenu",
        "wndEditorMenu/btnSaveAndContinue", "wndEditorMenu/btnStartSimulation",
        "wndEditorMenu/btnStartSimulationNoSaving",
        "wndEditOnScreen/btnMenu",
    };
    // Name prefix -> text the window type must contain.
    const std::pair<const char*, const char*> kinds[] = {
        {"btn", "/Button"}, {"chb", "Checkbox"}, {"cb", "Combobox"}, {"lb", "Listbox"}, {"sb", "Scrollbar"},
        {"sp", "Spinner"}, {"eb", "/Editbox"}, {"meb", "MultiLineEditbox"}, {"mle", "MultiLineEditbox"},
        {"mlb", "MultiLineEditbox"}, {"tc", "TabControl"}, {"st", "StaticText"}, {"Info", "StaticText"},
        {"Frame", "FrameWindow"}, {"tab", "DefaultWindow"},
    };

    CEGUI::WindowManager& manager = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* layout = manager.loadLayoutFromFile("Dravonkel.layout");
    wrappers::CWindowResolver windows;
    windows.SetRoot(layout);
    for (const char* path : paths) {
        const CEGUI::Window* window = windows.Find(path);
        ASSERT_NE(nullptr, window) << path;
        const std::string name = window->getName().c_str();
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                       [&](const auto& k) { return name.rfind(k.first, 0) == 0; });
        ASSERT_NE(std::end(kinds), kind) << path;
        EXPECT_NE(std::string::npos, std::string(window->getType().c_str()).find(kind->second)) << path;
        if (kind->second == std::string("DefaultWindow")) {
            EXPECT_NE(nullptr, dynamic_cast<const CEGUI::TabControl*>(window->getParent()->getParent())) << path;
        }
    }
    for (size_t i = 0; i < layout->getChildCount(); ++i)
        EXPECT_EQ(0u, layout->getChildAtIdx(i)->getName().find("wnd")) << "screens are children of the root";
    manager.destroyWindow(layout);
    manager.cleanDeadPool();
}

// A start that fails half-way takes back what it made: the application goes
// on without a GUI, and the GUI library must not call into the dead service.
TEST(CeguiGUIStart, AFailedStartLeavesNoWindowsOrSubscriptions)
{
    CCapturingLogMgr log;
    CFakeEventMgr events;
    CFakeApplication app(LoadDefaultConfig());
    CEGUI::NullRenderer& renderer = CEGUI::NullRenderer::create();
    renderer.setDisplaySize(CEGUI::Sizef(Width, Height));
    CEGUI::System::create(renderer);
    auto* resources =
        static_cast<CEGUI::DefaultResourceProvider*>(CEGUI::System::getSingleton().getResourceProvider());
    resources->setResourceGroupDirectory("gui", SDS_RUN_DIR "/data/gui/");
    resources->setDefaultResourceGroup("gui");

    const xml::CNodePtr gui = app.GetConfig()->GetChild("GUI");
    gui->RemoveChild(gui->GetChild("Change"));
    EXPECT_THROW(CCeguiGUI(gui, &renderer), xml::CNoNodeException);
    EXPECT_EQ(nullptr, sds::IGUI::GetSingleton());
    EXPECT_EQ(nullptr, CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());
    int layoutWindows = 0;
    for (auto it = CEGUI::WindowManager::getSingleton().getIterator(); !it.isAtEnd(); ++it)
        layoutWindows += std::string(it.getCurrentValue()->getType().c_str()).find("Tooltip") == std::string::npos;
    EXPECT_EQ(0, layoutWindows);

    // New windows and widget events find no subscriber of the failed service.
    CEGUI::Window* box = CEGUI::WindowManager::getSingleton().createWindow("Dravonkel/Editbox", "box");
    box->setText("x");
    CEGUI::WindowManager::getSingleton().destroyWindow(box);
    CEGUI::WindowManager::getSingleton().cleanDeadPool();

    // A layout that is well-formed but holds no window is refused by name.
    CTempDir layouts;
    std::ofstream(layouts.File("Empty.layout")) << "<?xml version=\"1.0\" ?>\n<GUILayout version=\"4\" />\n";
    resources->setResourceGroupDirectory("layouts", layouts.Path() + "/");
    CEGUI::WindowManager::setDefaultResourceGroup("layouts");
    const xml::CNodePtr empty = LoadDefaultConfig()->GetChild("GUI");
    empty->GetAttribute("Layout")->SetValue("Empty.layout");
    try {
        CCeguiGUI refused(empty, &renderer);
        ADD_FAILURE() << "a layout without a window was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ("The GUI layout Empty.layout holds no window: it must hold one root window with the screens in it",
                  std::string(e.what()));
    }
    EXPECT_EQ(nullptr, sds::IGUI::GetSingleton());
    CEGUI::WindowManager::setDefaultResourceGroup("");

    CEGUI::System::destroy();
    CEGUI::NullRenderer::destroy(renderer);
}

// The screens on the real widgets, whose changes raise their own events.
class CeguiScreensTest : public CeguiGUITest
{
protected:
    static void AddJump(std::uint32_t number, const std::string& zone, const std::string& preset)
    {
        xml::CNodePtr info(new xml::CNode("Jump", false));
        info->AddChild("Info", std::to_string(number))->AddAttribute("Name", "Jump #");
        info->AddChild("Info", zone)->AddAttribute("Name", "Drop zone name");
        info->AddChild("Info", preset)->AddAttribute("Name", "Configuration");
        s_World->Engine.Profile().AddJump(CJumpRecord(number, zone, "jump.trj", CVector::ZERO, CVector::ZERO, info));
    }
};

TEST_F(CeguiScreensTest, JumpLogListsAndFiltersTheJumps)
{
    AddJump(1, "Home Field", "No wind");
    AddJump(2, "Lake", "No wind");
    AddJump(3, "Home Field", "Long spot");
    CGuiEngine& machine = *s_World->GuiEngine;
    GuiStates::GoToMainMenu(machine);
    EXPECT_FALSE(Gui().IsDisabled("wndMainMenu/btnJumpLog"));
    GuiStates::ShowJumpLog(machine);

    const auto& list = static_cast<CEGUI::Listbox&>(Window("wndStatistics/lbSelectJumps"));
    ASSERT_EQ(3u, list.getItemCount());
    EXPECT_EQ("Jump#3, Home Field, Long spot", list.getListboxItemFromIndex(0)->getText());
    EXPECT_EQ("Jump#1, Home Field, No wind", list.getListboxItemFromIndex(2)->getText());
    EXPECT_EQ("Jump#3, Home Field, Long spot", Gui().GetSelectedItem("wndStatistics/lbSelectJumps"));
    EXPECT_EQ("Jump #: 3\nDrop zone name: Home Field\nConfiguration: Long spot\n",
              Gui().GetText("wndStatistics/stInfo"));
    EXPECT_FALSE(Window("wndStatistics/btnJumpPlayer").isVisible());

    Gui().SelectItem("wndStatistics/lbSelectJumps", "Jump#1, Home Field, No wind");
    EXPECT_EQ("Jump #: 1\nDrop zone name: Home Field\nConfiguration: No wind\n",
              Gui().GetText("wndStatistics/stInfo"));
    Gui().SetChecked("wndStatistics/chbFilterDZ", true);
    EXPECT_FALSE(Gui().IsDisabled("wndStatistics/chbFilterConditions"));
    Gui().SetChecked("wndStatistics/chbFilterConditions", true);
    EXPECT_EQ(1u, list.getItemCount());
    EXPECT_EQ("Jump#1, Home Field, No wind", Gui().GetSelectedItem("wndStatistics/lbSelectJumps"));
    Gui().SetChecked("wndStatistics/chbFilterDZ", false);
    EXPECT_EQ(3u, list.getItemCount());
    EXPECT_TRUE(Gui().IsDisabled("wndStatistics/chbFilterConditions"));
}

TEST_F(CeguiScreensTest, SettingsFollowTheirWidgets)
{
    CGuiEngine& machine = *s_World->GuiEngine;
    GuiStates::GoToMainMenu(machine);
    GuiStates::ShowVideoSettings(machine, "wndSettings/tcSections/tabVideo");
    EXPECT_TRUE(Window("wndSettings/tcSections/tabVideo").isVisible());
    EXPECT_EQ("Imperial (lb, ft)", Gui().GetText("wndSettings/cbDisplayUnitSystem"));
    EXPECT_FLOAT_EQ(0.5f, Gui().GetScrollPosition("wndSettings/sbMouseLookSensitivity"));

    Gui().SetScrollPosition("wndSettings/sbMusicVolume", 0.4f);
    EXPECT_FLOAT_EQ(0.4f, s_World->Sound.GetMusicVolume());
    Gui().SelectItem("wndSettings/cbDisplayUnitSystem", "Metric (kg, m)");
    Gui().SetChecked("wndSettings/chbInvertY", true);
    Gui().ConnectInputs();
    MoveMouseOnto("wndSettings/btnBack");
    ClickMouse();
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), machine.GetCurrentState());
    const xml::CNodePtr& settings = s_World->App.m_Settings;
    EXPECT_EQ("Metric (kg, m)", GetConfigString(settings, "Global->>MeasurementSystem", ""));
    EXPECT_EQ("Metric (kg, m)", s_World->Services.m_Units->GetSystemName());
    EXPECT_TRUE(GetConfigBool(settings, "Mouse->>InvertY", false));
    EXPECT_FLOAT_EQ(0.4f, GetConfigFloat(settings, "Audio->>MusicVolume", 0.0f));
}

// With no stored settings the screens start from the layout's own states:
// a first start comments on every landing, as the game mode does by itself.
TEST_F(CeguiScreensTest, AFirstStartCommentsOnEveryLanding)
{
    xml::CNodePtr& settings = s_World->App.m_Settings;
    const xml::CNodePtr stored = settings;
    settings.reset(new xml::CNode("Settings", false));
    CFakeGameModeState game;
    game.m_ShowLandingComment = false;
    s_World->Engine.m_GameModeState = &game;
    s_World->GuiEngine.reset();
    s_World->GuiEngine = std::make_unique<CGuiEngine>();
    s_World->Engine.m_GameModeState = nullptr;
    const bool storedFlag = GetConfigBool(settings, "Global->>ShowLandingComment", false);
    settings = stored;

    EXPECT_TRUE(game.m_ShowLandingComment);
    EXPECT_TRUE(storedFlag) << "and the settings keep it";
}

} // namespace
