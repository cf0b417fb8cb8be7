// The graphics-settings list on the rendering engine's own render systems
// (under Xvfb): its rows, what a pick changes, and the file it writes.

#include <fstream>
#include <iterator>
#include <memory>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>
#include <OGRE/Ogre.h>

#include "graphics/ogre/GfxSettingsListBox.h"
#include "graphics/ogre/RestoreRenderSystem.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeEventMgr.h"
#include "support/TempDir.h"

using wrappers::CGfxSettingsListBox;

namespace {

const char* const LIST = "wndSettings/lbGfxParams";
const char* const GL = "OpenGL Rendering Subsystem";
const char* const GL3 = "OpenGL 3+ Rendering Subsystem";
const char* const PICKY = "Picky Rendering Subsystem";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A render system that is never started: its options are a video mode and
// full screen, and it refuses full screen. Only the options are real.
class CPickyRenderSystem : public Ogre::RenderSystem
{
public:
    CPickyRenderSystem()
    {
        AddOption("Full Screen", "No", {"No", "Yes"});
        AddOption("Video Mode", "800 x 600", {"800 x 600", "1024 x 768"});
    }

    const Ogre::String& getName() const override
    {
        static const Ogre::String name = PICKY;
        return name;
    }
    void setConfigOption(const Ogre::String& name, const Ogre::String& value) override
    {
        mOptions.at(name).currentValue = value;
    }
    Ogre::String validateConfigOptions() override
    {
        return mOptions.at("Full Screen").currentValue == "Yes" ? "Full screen is not available" : "";
    }

    // Rendering: nothing.
    Ogre::HardwareOcclusionQuery* createHardwareOcclusionQuery() override { return nullptr; }
    Ogre::RenderSystemCapabilities* createRenderSystemCapabilities() const override { return nullptr; }
    Ogre::MultiRenderTarget* createMultiRenderTarget(const Ogre::String&) override { return nullptr; }
    void _setSampler(size_t, Ogre::Sampler&) override {}
    void _setTexture(size_t, bool, const Ogre::TexturePtr&) override {}
    void setColourBlendState(const Ogre::ColourBlendState&) override {}
    void _setAlphaRejectSettings(Ogre::CompareFunction, unsigned char, bool) override {}
    Ogre::DepthBuffer* _createDepthBufferFor(Ogre::RenderTarget*) override { return nullptr; }
    void _endFrame() override {}
    void _setViewport(Ogre::Viewport*) override {}
    void _setCullingMode(Ogre::CullingMode) override {}
    void _setDepthBufferParams(bool, bool, Ogre::CompareFunction) override {}
    void _setDepthBias(float, float) override {}
    void _convertProjectionMatrix(const Ogre::Matrix4&, Ogre::Matrix4&, bool) override {}
    void _setPolygonMode(Ogre::PolygonMode) override {}
    void setStencilCheckEnabled(bool) override {}
    void setStencilBufferParams(Ogre::CompareFunction, Ogre::uint32, Ogre::uint32, Ogre::uint32,
                                Ogre::StencilOperation, Ogre::StencilOperation, Ogre::StencilOperation, bool,
                                bool) override
    {
    }
    void bindGpuProgramParameters(Ogre::GpuProgramType, const Ogre::GpuProgramParametersPtr&, Ogre::uint16) override {}
    void setScissorTest(bool, const Ogre::Rect&) override {}
    void clearFrameBuffer(unsigned int, const Ogre::ColourValue&, Ogre::Real, unsigned short) override {}
    Ogre::Real getHorizontalTexelOffset() override { return 0; }
    Ogre::Real getVerticalTexelOffset() override { return 0; }
    Ogre::Real getMinimumDepthInputValue() override { return 0; }
    Ogre::Real getMaximumDepthInputValue() override { return 1; }
    void _setRenderTarget(Ogre::RenderTarget*) override {}
    void beginProfileEvent(const Ogre::String&) override {}
    void endProfileEvent() override {}
    void markProfileEvent(const Ogre::String&) override {}
    void initialiseFromRenderSystemCapabilities(Ogre::RenderSystemCapabilities*, Ogre::RenderTarget*) override {}

private:
    void AddOption(const std::string& name, const std::string& value, const Ogre::StringVector& values)
    {
        Ogre::ConfigOption& option = mOptions[name];
        option.name = name;
        option.currentValue = value;
        option.possibleValues = values;
        option.immutable = false;
    }
};

// A list box as the GUI keeps it: rows, and the one picked.
struct CRows
{
    void Set(const std::vector<std::string>& rows)
    {
        Rows = rows;
        Picked = -1;
        ++Sets;
    }
    std::string GetPicked() const { return Picked < 0 ? std::string() : Rows[Picked]; }
    bool Has(const std::string& row) const { return std::find(Rows.begin(), Rows.end(), row) != Rows.end(); }

    std::vector<std::string> Rows;
    int Picked = -1;
    int Sets = 0;
};

// One root for a suite, its render systems loaded but none started.
class GfxSettingsTest : public ::testing::Test
{
protected:
    static void StartRoot(const std::vector<std::string>& plugins, Ogre::RenderSystem* own = nullptr)
    {
        s_Logs = new Ogre::LogManager();
        s_Logs->createLog("GfxSettings.log", true, false, true);
        s_Root = new Ogre::Root("", "", "");
        for (const std::string& plugin : plugins)
            s_Root->loadPlugin(std::string(SDS_OGRE_PLUGIN_DIR) + "/" + plugin);
        if (own)
            s_Root->addRenderSystem(own);
    }
    static void TearDownTestSuite()
    {
        delete s_Root;
        s_Root = nullptr;
        delete s_Logs;
        s_Logs = nullptr;
    }

    // The "GfxCfg" element writing into the test's folder.
    xml::CNodePtr GfxCfg(const std::string& path)
    {
        xml::CNodePtr gfx(new xml::CNode("GfxCfg", false));
        gfx->AddAttribute("Path", path);
        return gfx;
    }

    std::unique_ptr<CGfxSettingsListBox> MakeList(const xml::CNodePtr& gfx)
    {
        return std::make_unique<CGfxSettingsListBox>(
            LIST, [this](const std::vector<std::string>& rows) { m_Rows.Set(rows); },
            [this] { return m_Rows.GetPicked(); }, *s_Root, gfx);
    }

    // The user picks the row of that text, and the GUI reports it.
    void Pick(const std::string& row)
    {
        const auto found = std::find(m_Rows.Rows.begin(), m_Rows.Rows.end(), row);
        ASSERT_NE(m_Rows.Rows.end(), found) << row;
        m_Rows.Picked = static_cast<int>(found - m_Rows.Rows.begin());
        m_Events.FireGUIEvent(sds::CGUIEvent(LIST));
    }

    static Ogre::RenderSystem& System(const char* name) { return *s_Root->getRenderSystemByName(name); }
    static std::string Option(const char* system, const std::string& name)
    {
        return System(system).getConfigOptions().at(name).currentValue;
    }

    static Ogre::LogManager* s_Logs;
    static Ogre::Root* s_Root;
    CCapturingLogMgr m_Log;
    CFakeEventMgr m_Events;
    CTempDir m_Conf;
    const std::string m_File = m_Conf.File("graphics.cfg");
    CRows m_Rows;
};

Ogre::LogManager* GfxSettingsTest::s_Logs = nullptr;
Ogre::Root* GfxSettingsTest::s_Root = nullptr;

class TwoRenderSystemsTest : public GfxSettingsTest
{
protected:
    static void SetUpTestSuite() { StartRoot({"RenderSystem_GL", "RenderSystem_GL3Plus"}); }
};

TEST_F(TwoRenderSystemsTest, TheFileHoldsEveryOptionOfEveryRenderSystem)
{
    const xml::CNodePtr gfx = GfxCfg(m_File);
    gfx->AddChild("Force", "")->AddAttribute("Name", "VSync");
    const auto list = MakeList(gfx);

    const std::string file = ReadFile(m_File);
    EXPECT_EQ(0u, file.find(std::string("Render System=") + GL + "\n\n[" + GL + "]\n")) << file;
    for (const char* name : {GL, GL3}) {
        EXPECT_NE(std::string::npos, file.find(std::string("\n[") + name + "]\n")) << name;
        for (const auto& option : System(name).getConfigOptions())
            EXPECT_NE(std::string::npos, file.find("\n" + option.first + "=" + option.second.currentValue + "\n"))
                << name << ": " << option.first;
    }

    EXPECT_EQ(std::string("Render System: ") + GL, m_Rows.Rows.front());
    EXPECT_TRUE(m_Rows.Has("Full Screen: No"));
    EXPECT_TRUE(m_Rows.Has("FSAA: 0"));
    for (const std::string& row : m_Rows.Rows)
        for (const char* hidden : {"VSync", "RTT Preferred Mode", "Display Frequency", "Separate Shader Objects"})
            EXPECT_NE(0u, row.find(hidden)) << "forced, single-valued or of the other system: " << row;
    EXPECT_EQ(-1, m_Rows.Picked);
}

TEST_F(TwoRenderSystemsTest, TheRenderSystemRowCyclesThroughTheLoadedOnes)
{
    const auto list = MakeList(GfxCfg(m_File));
    for (const char* next : {GL3, GL}) {
        Pick(m_Rows.Rows.front());
        EXPECT_EQ(std::string("Render System: ") + next, m_Rows.Rows.front());
        EXPECT_EQ(next == GL3, m_Rows.Has("Separate Shader Objects: No")) << "the chosen system's options";
        EXPECT_EQ(-1, m_Rows.Picked) << "nothing picked after the rows are rebuilt";
        const std::string file = ReadFile(m_File);
        EXPECT_EQ(0u, file.find(std::string("Render System=") + next + "\n\n[" + GL + "]\n")) << file;
    }
    EXPECT_EQ(GL, s_Root->getAvailableRenderers().front()->getName()) << "the engine's order stays";
}

TEST_F(TwoRenderSystemsTest, APickMovesTheOptionToItsNextValue)
{
    System(GL).setConfigOption("Full Screen", "Yes");
    const auto list = MakeList(GfxCfg(m_File));
    Pick("Full Screen: Yes");
    EXPECT_EQ("No", Option(GL, "Full Screen"));
    EXPECT_TRUE(m_Rows.Has("Full Screen: No"));
    EXPECT_NE(std::string::npos, ReadFile(m_File).find("\nFull Screen=No\n"));

    Pick("FSAA: 0");
    EXPECT_EQ("4", Option(GL, "FSAA"));
    Pick("FSAA: 4");
    EXPECT_EQ("0", Option(GL, "FSAA")) << "after the last value the first";
}

TEST_F(TwoRenderSystemsTest, AValueThatIsNotOfferedStays)
{
    System(GL).setConfigOption("FSAA", "3");
    const auto list = MakeList(GfxCfg(m_File));
    Pick("FSAA: 3");
    EXPECT_TRUE(m_Log.Has("Warning: Current option value can not be found: 3"));
    EXPECT_EQ("3", Option(GL, "FSAA"));
    EXPECT_TRUE(m_Rows.Has("FSAA: 3"));
    System(GL).setConfigOption("FSAA", "0");
}

TEST_F(TwoRenderSystemsTest, AnEmptyPathWritesNothing)
{
    const auto list = MakeList(GfxCfg(""));
    Pick("Full Screen: No");
    EXPECT_EQ("Yes", Option(GL, "Full Screen"));
    EXPECT_TRUE(boost::filesystem::is_empty(m_Conf.Path()));
    System(GL).setConfigOption("Full Screen", "No");
}

TEST_F(TwoRenderSystemsTest, AFileThatCannotBeWrittenIsLoggedAndTheListGoesOn)
{
    const std::string unwritable = m_Conf.File("missing/graphics.cfg");
    const auto list = MakeList(GfxCfg(unwritable));
    EXPECT_TRUE(m_Log.HasContaining("Warning: Cannot create settings file. " + unwritable + ": ")) << m_Log.m_Lines[0];
    Pick("FSAA: 0");
    EXPECT_EQ("4", Option(GL, "FSAA"));
    EXPECT_TRUE(m_Rows.Has("FSAA: 4"));
    System(GL).setConfigOption("FSAA", "0");
}

class PickyRenderSystemTest : public GfxSettingsTest
{
protected:
    static void SetUpTestSuite() { StartRoot({}, new CPickyRenderSystem); }
    static void TearDownTestSuite()
    {
        Ogre::RenderSystem* own = s_Root->getAvailableRenderers().front();
        GfxSettingsTest::TearDownTestSuite();
        delete own;
    }
};

TEST_F(PickyRenderSystemTest, ARefusedValueIsTakenBackAndNotWritten)
{
    const auto list = MakeList(GfxCfg(m_File));
    const std::string before = ReadFile(m_File);
    const std::vector<std::string> rows = m_Rows.Rows;

    Pick("Full Screen: No");
    EXPECT_TRUE(m_Log.Has("Warning: There was a problem with changing renderer option: Full screen is not available"));
    EXPECT_EQ("No", Option(PICKY, "Full Screen"));
    EXPECT_EQ(before, ReadFile(m_File));
    EXPECT_EQ(rows, m_Rows.Rows);
    EXPECT_EQ(-1, m_Rows.Picked) << "the row can be picked again";
}

TEST_F(PickyRenderSystemTest, WithOneRenderSystemItsRowKeepsTheChoice)
{
    const auto list = MakeList(GfxCfg(m_File));
    boost::filesystem::remove(m_File);
    Pick(std::string("Render System: ") + PICKY);
    EXPECT_EQ(std::string("Render System: ") + PICKY, m_Rows.Rows.front());
    EXPECT_EQ(0u, ReadFile(m_File).find(std::string("Render System=") + PICKY + "\n")) << "written again";
}

TEST_F(PickyRenderSystemTest, AWrittenFileIsRestoredAtTheNextStart)
{
    {
        const auto list = MakeList(GfxCfg(m_File));
        Pick("Video Mode: 800 x 600");
    }
    System(PICKY).setConfigOption("Video Mode", "800 x 600");
    EXPECT_TRUE(wrappers::RestoreRenderSystem(*s_Root, m_File));
    EXPECT_EQ("1024 x 768", Option(PICKY, "Video Mode"));
    EXPECT_EQ(&System(PICKY), s_Root->getRenderSystem());
    EXPECT_TRUE(m_Log.m_Lines.empty()) << m_Log.m_Lines[0];
    System(PICKY).setConfigOption("Video Mode", "800 x 600");
}

TEST_F(PickyRenderSystemTest, AFileThatCannotOpenTheWindowIsSetAsideAndChangesNothing)
{
    const struct
    {
        const char* what;
        std::string file;
        std::string complaint;
    } cases[] = {
        {"refused", std::string("Render System=") + PICKY + "\n\n[" + PICKY + "]\nFull Screen=Yes\nVideo Mode=1024 x 768\n",
         "Full screen is not available"},
        {"unknown render system", std::string("Render System=Gone\n\n[") + PICKY + "]\nVideo Mode=1024 x 768\n",
         "render system 'Gone' is not loaded"},
        // The render system would take these and fail to open the window.
        {"a mode larger than the screen", std::string("Render System=") + PICKY + "\n\n[" + PICKY + "]\nVideo Mode=99999 x 99999\n",
         "the screen offers no video mode '99999 x 99999'"},
        {"no size", std::string("Render System=") + PICKY + "\n\n[" + PICKY + "]\nVideo Mode=0 x 0\n",
         "the screen offers no video mode '0 x 0'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_Log.m_Lines.clear();
        std::ofstream(m_File) << c.file;
        Ogre::RenderSystem* const before = s_Root->getRenderSystem();

        EXPECT_FALSE(wrappers::RestoreRenderSystem(*s_Root, m_File));
        EXPECT_EQ("No", Option(PICKY, "Full Screen"));
        EXPECT_EQ("800 x 600", Option(PICKY, "Video Mode"));
        EXPECT_EQ(before, s_Root->getRenderSystem());
        EXPECT_FALSE(boost::filesystem::exists(m_File));
        EXPECT_EQ(c.file, ReadFile(m_File + ".bad"));
        EXPECT_TRUE(m_Log.Has("Warning: The graphics settings file " + m_File + " is not used (" + c.complaint +
                              "); it is kept as " + m_File + ".bad"))
            << (m_Log.m_Lines.empty() ? "" : m_Log.m_Lines[0]);
    }

    m_Log.m_Lines.clear();
    EXPECT_FALSE(wrappers::RestoreRenderSystem(*s_Root, m_File)) << "no file: the defaults, quietly";
    EXPECT_FALSE(wrappers::RestoreRenderSystem(*s_Root, ""));
    EXPECT_TRUE(m_Log.m_Lines.empty());
}

class NoRenderSystemTest : public GfxSettingsTest
{
protected:
    static void SetUpTestSuite() { StartRoot({}); }
};

TEST_F(NoRenderSystemTest, ThrowsAndWritesNothing)
{
    try {
        MakeList(GfxCfg(m_File));
        FAIL() << "no render system, no list";
    } catch (const std::exception& e) {
        EXPECT_STREQ("No renderer is available, so nothing can be rendered. Check loaded plugins.", e.what());
    }
    EXPECT_FALSE(boost::filesystem::exists(m_File));
}

} // namespace
