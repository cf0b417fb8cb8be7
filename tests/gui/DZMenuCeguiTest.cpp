// The drop-zone menu on the real layout through the GUI service over CEGUI's
// renderer that draws nothing: real spinners, lists and tabs, whose changes
// raise the events the screen listens to, and the default drop zone.

#include <memory>

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>
#include <gtest/gtest.h>

#include "app/Engine.h"
#include "core/XmlFile.h"
#include "gui/CeguiGUI.h"
#include "gui/WindowResolver.h"
#include "gui/menus/DZMenuState.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/MenuServices.h"
#include "gui/menus/MessageBoxState.h"
#include "gui/menus/TestEngineStates.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeSndMgr.h"

using namespace sds;

namespace {

class DZMenuCeguiTest : public ::testing::Test
{
protected:
    DZMenuCeguiTest() : m_App(LoadDefaultConfig()), m_Services(m_App.m_Config), m_Renderer(CEGUI::NullRenderer::create())
    {
        m_Renderer.setDisplaySize(CEGUI::Sizef(1024.0f, 768.0f));
        CEGUI::System::create(m_Renderer);
        auto* resources =
            static_cast<CEGUI::DefaultResourceProvider*>(CEGUI::System::getSingleton().getResourceProvider());
        resources->setResourceGroupDirectory("gui", SDS_RUN_DIR "/data/gui/");
        resources->setDefaultResourceGroup("gui");
        m_Gui = std::make_unique<wrappers::CCeguiGUI>(m_App.GetConfig()->GetChild("GUI"), &m_Renderer);
        m_Windows.SetRoot(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());

        m_Engine.m_GameModeState = &m_Game;
        m_Game.Add(xml::LoadXmlFile(SDS_RUN_DIR "/data/Skorvel/HomeField.dz"));
        m_GuiEngine = std::make_unique<CGuiEngine>();
        GuiStates::GoToDZSelection(*m_GuiEngine);
    }

    ~DZMenuCeguiTest() override
    {
        m_GuiEngine.reset();
        m_Gui.reset();
        CEGUI::System::destroy();
        CEGUI::NullRenderer::destroy(m_Renderer);
    }

    CEGUI::Spinner& Spinner(const std::string& path) { return static_cast<CEGUI::Spinner&>(m_Windows.Get(path)); }

    // What a click on the button does in the library.
    void Click(const std::string& path)
    {
        CEGUI::Window& button = m_Windows.Get(path);
        CEGUI::WindowEventArgs args(&button);
        button.fireEvent(CEGUI::PushButton::EventClicked, args, CEGUI::PushButton::EventNamespace);
    }

    std::string SelectedPreset() const { return m_Gui->GetSelectedItem("wndDropZone/lbPresets"); }
    const std::vector<std::string>& Presets() const
    {
        return GuiStates::CDZMenuState::GetSingleton()->GetPresets().GetNames();
    }

    CCapturingLogMgr m_Log;
    CFakeEventMgr m_Events;
    CFakeApplication m_App;
    CFakeSndMgr m_Sound;
    CMenuServices m_Services;
    CTestEngine m_Engine;
    CFakeGameModeState m_Game;
    CEGUI::NullRenderer& m_Renderer;
    std::unique_ptr<wrappers::CCeguiGUI> m_Gui;
    wrappers::CWindowResolver m_Windows;
    std::unique_ptr<CGuiEngine> m_GuiEngine;
};

// Imperial units on spinners that show the unit settings' decimals: the first
// preset still reads back as itself.
TEST_F(DZMenuCeguiTest, EnteringKeepsTheFirstPresetOnTheRealWidgets)
{
    EXPECT_TRUE(m_Windows.Get("wndDropZone").isVisible());
    EXPECT_EQ("On target, 8mph wind", SelectedPreset());
    EXPECT_EQ(8u, Presets().size()) << "nothing stored as Custom";

    CEGUI::Spinner& altitude = Spinner("wndDropZone/spAltitude");
    EXPECT_NEAR(328.084, altitude.getMaximumValue(), 0.01);
    EXPECT_DOUBLE_EQ(0.0, altitude.getMinimumValue());
    EXPECT_DOUBLE_EQ(10.0, altitude.getStepSize());
    EXPECT_NEAR(200.0, altitude.getCurrentValue(), 0.001);
    EXPECT_NEAR(8.0, Spinner("wndDropZone/spWindStrength").getCurrentValue(), 0.001);
    EXPECT_EQ("8.0", m_Gui->GetText("wndDropZone/spWindStrength/__auto_editbox__"));
    EXPECT_EQ("200.0", m_Gui->GetText("wndDropZone/spAltitude/__auto_editbox__"));
    EXPECT_EQ("Home Field", m_Gui->GetText("wndDropZone/cbDropZones"));
    EXPECT_EQ("160lb", m_Gui->GetText("wndDropZone/cbWeight"));
    EXPECT_EQ(0u, m_Gui->GetText("wndDropZone/mebPresetDescription").find("Drop zone name: Home Field\n"));
}

// In metric units the presets' values are no whole numbers: each spinner
// shows the value the jump uses, to the unit's decimal, not its whole part,
// and an untouched preset still matches.
TEST_F(DZMenuCeguiTest, MetricSpinnersShowTheValueTheJumpUses)
{
    ASSERT_TRUE(m_Services.m_Units->SelectSystem("Metric (kg, m)"));
    GuiStates::GoToMainMenu(*m_GuiEngine);
    GuiStates::GoToDZSelection(*m_GuiEngine);
    EXPECT_EQ("On target, 8mph wind", SelectedPreset());
    EXPECT_EQ(8u, Presets().size()) << "nothing stored as Custom";
    const struct
    {
        const char* Spinner;
        double Value;
        const char* Shown;
    } spinners[] = {{"wndDropZone/spAltitude", 60.96, "61.0"},
                    {"wndDropZone/spTargetDistance", 128.016, "128.0"},
                    {"wndDropZone/spWindStrength", 12.874752, "12.9"}};
    for (const auto& s : spinners) {
        EXPECT_NEAR(s.Value, Spinner(s.Spinner).getCurrentValue(), 0.001) << s.Spinner;
        EXPECT_EQ(s.Shown, m_Gui->GetText(std::string(s.Spinner) + "/__auto_editbox__")) << s.Spinner;
    }
}

TEST_F(DZMenuCeguiTest, ListAndTabEventsApplyAndMatchPresets)
{
    m_Gui->SelectItem("wndDropZone/lbPresets", "Long spot");
    EXPECT_NEAR(490.0, Spinner("wndDropZone/spTargetDistance").getCurrentValue(), 0.01);

    m_Gui->SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabSettings");
    Spinner("wndDropZone/spAltitude").setCurrentValue(250.0);
    m_Gui->SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabConfigurations");
    EXPECT_EQ("Custom", Presets().back());
    EXPECT_EQ("Custom", SelectedPreset());
    EXPECT_EQ("76.2", GuiStates::CDZMenuState::GetSingleton()
                          ->GetPresets()
                          .FindPreset("Custom")
                          ->GetChildById("Info", "Altitude", "Name,Id")
                          ->GetValue());
}

TEST_F(DZMenuCeguiTest, AJumpToAnUnknownDropZoneIsShownInAMessageBox)
{
    m_Gui->SetText("wndDropZone/cbDropZones", "Nowhere");
    Click("wndDropZone/btnJump");
    EXPECT_TRUE(m_Log.Has("Error: Handling 'wndDropZone/btnJump' failed: DZ 'Nowhere' can not be loaded "));
    EXPECT_NE(nullptr, dynamic_cast<GuiStates::CMessageBoxState*>(m_GuiEngine->GetCurrentState()));
    EXPECT_EQ("DZ 'Nowhere' can not be loaded ", m_Gui->GetText("wndMessageBox/Info"));
    EXPECT_EQ(nullptr, m_Game.m_Current);
    EXPECT_FALSE(m_Engine.HasStates());

    Click("wndMessageBox/btnClose");
    EXPECT_EQ(GuiStates::CDZMenuState::GetSingleton(), m_GuiEngine->GetCurrentState());
    EXPECT_TRUE(m_Windows.Get("wndDropZone").isVisible());
}

} // namespace
