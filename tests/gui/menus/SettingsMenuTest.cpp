// The settings screen over a fake GUI: what it reads from the user settings
// at start, what it applies at once, and what it stores.

#include <fstream>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "core/ConfigPath.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/SettingsMenuState.h"
#include "sound/DummySndMgr.h"
#include "ScreensFixture.h"
#include "support/TempDir.h"

using namespace sds;

namespace {

const char* const MUSIC = "wndSettings/sbMusicVolume";
const char* const UNITS = "wndSettings/cbDisplayUnitSystem";

class SettingsTest : public ScreensTest
{
protected:
    const xml::CNodePtr& Settings() { return m_App.m_Settings; }
    float Stored(const std::string& key) { return GetConfigFloat(Settings(), key, -1.0f); }

    void OpenSettings()
    {
        OpenMainMenu();
        Click("wndMainMenu/btnSettings");
        ASSERT_EQ(GuiStates::CSettingsMenuState::GetSingleton(), CurrentScreen());
    }
};

TEST_F(SettingsTest, MissingMouseSettingsStartAtHalfAndAreWrittenBack)
{
    for (const char* bar : {"wndSettings/sbMouseInputsSensitivity", "wndSettings/sbMouseLookSensitivity",
                            "wndSettings/sbForceFieldVisualization"})
        EXPECT_FLOAT_EQ(0.5f, m_Gui.GetScrollPosition(bar)) << bar;
    EXPECT_FLOAT_EQ(0.5f, Stored("Mouse->>InputsSensitivity"));
    EXPECT_FLOAT_EQ(0.5f, Stored("Mouse->>LookSensitivity"));
    EXPECT_FLOAT_EQ(1.0f, Stored("Graphics->>SurfaceObjects")) << "the configuration's";
    EXPECT_EQ("Imperial (lb, ft)", GetConfigString(Settings(), "Global->>MeasurementSystem", ""));
    EXPECT_FLOAT_EQ(1.0f, Stored("Audio->>MusicVolume")) << "the sound manager's";
}

TEST_F(SettingsTest, StoredSettingsTakeEffectAtStart)
{
    SetConfigFloat(Settings(), "Audio->>MusicVolume", 0.25f);
    SetConfigFloat(Settings(), "Audio->>SoundVolume", 0.75f);
    SetConfigFloat(Settings(), "Mouse->>InputsSensitivity", 1.5f);
    SetConfigBool(Settings(), "Global->>ShowLandingComment", true);
    SetConfigBool(Settings(), "Mouse->>InvertY", true);
    SetConfigString(Settings(), "Global->>MeasurementSystem", "Metric (kg, m)");
    StartMenus();
    EXPECT_FLOAT_EQ(0.25f, m_Sound.GetMusicVolume());
    EXPECT_FLOAT_EQ(0.75f, m_Sound.GetVolume());
    EXPECT_TRUE(m_Game.m_ShowLandingComment);
    EXPECT_EQ("Metric (kg, m)", m_Services.m_Units->GetSystemName());
    EXPECT_FLOAT_EQ(1.5f, m_Gui.GetScrollPosition("wndSettings/sbMouseInputsSensitivity"));
    EXPECT_TRUE(m_Gui.IsChecked("wndSettings/chbInvertY"));
    EXPECT_EQ(std::vector<std::string>({"Metric (kg, m)", "Imperial (lb, ft)"}), m_Gui.Get(UNITS).Items);
    EXPECT_EQ("Metric (kg, m)", m_Gui.GetText(UNITS));
}

TEST_F(SettingsTest, AnUnknownUnitSystemTakesTheFirst)
{
    SetConfigString(Settings(), "Global->>MeasurementSystem", "Furlongs");
    StartMenus();
    EXPECT_EQ("Metric (kg, m)", m_Services.m_Units->GetSystemName());
    EXPECT_EQ("Metric (kg, m)", GetConfigString(Settings(), "Global->>MeasurementSystem", ""));

    // Also when the box itself holds a text that is not offered.
    OpenSettings();
    m_Services.m_Units->SelectSystem("Imperial (lb, ft)");
    m_Gui.SetText(UNITS, "Furlongs");
    Click("wndSettings/btnBack");
    EXPECT_EQ("Metric (kg, m)", m_Services.m_Units->GetSystemName());
    EXPECT_EQ("Metric (kg, m)", m_Gui.GetText(UNITS));
    EXPECT_EQ("Metric (kg, m)", GetConfigString(Settings(), "Global->>MeasurementSystem", ""));
    EXPECT_TRUE(m_Log.Has("Warning: Unknown measurement system 'Furlongs', using 'Metric (kg, m)'"));
}

TEST_F(SettingsTest, VolumesFollowTheirBarsAndBackStoresTheSoundManagers)
{
    OpenSettings();
    m_Gui.SetScrollPosition(MUSIC, 0.3f);
    Click(MUSIC);
    EXPECT_FLOAT_EQ(0.3f, m_Sound.GetMusicVolume()) << "at once";
    m_Gui.SetScrollPosition("wndSettings/sbSoundVolume", 0.6f);
    Click("wndSettings/sbSoundVolume");
    EXPECT_FLOAT_EQ(0.6f, m_Sound.GetVolume());
    EXPECT_FLOAT_EQ(1.0f, Stored("Audio->>MusicVolume")) << "not stored before Back";

    // What the sound manager plays at, not where the bar stands.
    m_Sound.SetMusicVolume(0.2f);
    m_Gui.SetChecked("wndSettings/chbShowLandingComment", true);
    Click("wndSettings/btnBack");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_FLOAT_EQ(0.2f, Stored("Audio->>MusicVolume"));
    EXPECT_FLOAT_EQ(0.6f, Stored("Audio->>SoundVolume"));
    EXPECT_TRUE(m_Game.m_ShowLandingComment);
    EXPECT_TRUE(GetConfigBool(Settings(), "Global->>ShowLandingComment", false));
}

TEST_F(SettingsTest, WithoutSoundTheVolumesOfTheBarsAreStored)
{
    SetConfigFloat(Settings(), "Audio->>MusicVolume", 0.4f);
    SetConfigFloat(Settings(), "Audio->>SoundVolume", 0.3f);
    CDummySndMgr silent;
    StartMenus();
    EXPECT_FLOAT_EQ(0.4f, Stored("Audio->>MusicVolume")) << "a silent run keeps the user's volumes";
    EXPECT_FLOAT_EQ(0.3f, Stored("Audio->>SoundVolume"));

    OpenSettings();
    m_Gui.SetScrollPosition(MUSIC, 0.6f);
    Click(MUSIC);
    Click("wndSettings/btnBack");
    EXPECT_FLOAT_EQ(0.6f, Stored("Audio->>MusicVolume"));
    EXPECT_FLOAT_EQ(0.3f, Stored("Audio->>SoundVolume"));
}

TEST_F(SettingsTest, SurfaceObjectsAreStoredAtOnce)
{
    OpenSettings();
    m_Gui.SetScrollPosition("wndSettings/sbSurfaceObjects", 0.4f);
    Click("wndSettings/sbSurfaceObjects");
    EXPECT_FLOAT_EQ(0.4f, Stored("Graphics->>SurfaceObjects"));
}

TEST_F(SettingsTest, ApplyRestartsAndRestoreDeletesTheVideoSettingsFirst)
{
    CTempDir conf;
    const std::string file = conf.File("graphics.cfg");
    SetConfigString(m_App.m_Config, "Application->GfxCfg->>Path", file);
    OpenSettings();

    Click("wndSettings/btnApplyVideoSettings");
    EXPECT_TRUE(m_App.m_RestartCalled);

    std::ofstream(file) << "Render System=OpenGL Rendering Subsystem\n";
    m_App.m_RestartCalled = false;
    Click("wndSettings/btnRestoreVideoSettings");
    EXPECT_FALSE(boost::filesystem::exists(file));
    EXPECT_TRUE(m_App.m_RestartCalled);

    m_App.m_RestartCalled = false;
    Click("wndSettings/btnRestoreVideoSettings");
    EXPECT_TRUE(m_App.m_RestartCalled) << "without the file only the restart";
}

} // namespace
