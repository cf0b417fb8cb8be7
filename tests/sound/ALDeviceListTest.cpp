#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sound/openal/ALDeviceList.h"

using wrappers::details::ALDeviceList;
using wrappers::details::CALDeviceApi;

namespace {

// A system's OpenAL as the device list sees it.
struct CFakeOpenAL
{
    bool Enumeration = true;
    bool NullNames = false;
    std::vector<std::string> Listed;
    std::string DefaultName;
    std::set<std::string> FailToOpen;
    std::map<std::string, std::string> OpensAs; // the device's own name after opening
    unsigned int SourceLimit = 32;

    std::string NameList;
    std::string Current;
    int OpenDevices = 0;
    int LiveContexts = 0;
    unsigned int Sources = 0;
    ALenum Error = AL_NO_ERROR;
};

CFakeOpenAL* g_AL = nullptr;
char g_Device;
char g_Context;

ALCboolean IsExtensionPresent(ALCdevice* device, const ALCchar* name)
{
    if (!device)
        return g_AL->Enumeration && std::string(name) == "ALC_ENUMERATION_EXT";
    return std::string(name) == "ALC_EXT_EFX";
}
const ALCchar* GetString(ALCdevice* device, ALCenum what)
{
    if (device)
        return g_AL->OpensAs.count(g_AL->Current) ? g_AL->OpensAs[g_AL->Current].c_str() : g_AL->Current.c_str();
    if (what == ALC_DEFAULT_DEVICE_SPECIFIER)
        return g_AL->DefaultName.c_str();
    if (g_AL->NullNames)
        return nullptr;
    g_AL->NameList.clear();
    for (const std::string& name : g_AL->Listed)
        g_AL->NameList += name + '\0';
    g_AL->NameList += '\0';
    return g_AL->NameList.c_str();
}
ALCdevice* OpenDevice(const ALCchar* name)
{
    if (g_AL->FailToOpen.count(name))
        return nullptr;
    g_AL->Current = name;
    ++g_AL->OpenDevices;
    return reinterpret_cast<ALCdevice*>(&g_Device);
}
ALCboolean CloseDevice(ALCdevice*)
{
    --g_AL->OpenDevices;
    return ALC_TRUE;
}
ALCcontext* CreateContext(ALCdevice*, const ALCint*)
{
    ++g_AL->LiveContexts;
    return reinterpret_cast<ALCcontext*>(&g_Context);
}
ALCboolean MakeContextCurrent(ALCcontext*)
{
    return ALC_TRUE;
}
void DestroyContext(ALCcontext*)
{
    --g_AL->LiveContexts;
}
void GetIntegerv(ALCdevice*, ALCenum what, ALCsizei, ALCint* value)
{
    *value = what == ALC_MAJOR_VERSION ? 1 : 0;
}
ALboolean AlIsExtensionPresent(const ALchar* name)
{
    return std::string(name) == "AL_EXT_OFFSET";
}
ALenum GetError()
{
    const ALenum error = g_AL->Error;
    g_AL->Error = AL_NO_ERROR;
    return error;
}
void GenSources(ALsizei count, ALuint* names)
{
    for (ALsizei i = 0; i < count; ++i) {
        if (g_AL->Sources >= g_AL->SourceLimit) {
            g_AL->Error = AL_OUT_OF_MEMORY;
            return;
        }
        names[i] = ++g_AL->Sources;
    }
}
void DeleteSources(ALsizei count, const ALuint*)
{
    g_AL->Sources -= static_cast<unsigned int>(count);
}

class ALDeviceListFake : public ::testing::Test
{
protected:
    ALDeviceListFake() { g_AL = &m_AL; }
    ~ALDeviceListFake() override { g_AL = nullptr; }

    static CALDeviceApi Api()
    {
        CALDeviceApi api;
        api.alcIsExtensionPresent = &IsExtensionPresent;
        api.alcGetString = &GetString;
        api.alcOpenDevice = &OpenDevice;
        api.alcCloseDevice = &CloseDevice;
        api.alcCreateContext = &CreateContext;
        api.alcMakeContextCurrent = &MakeContextCurrent;
        api.alcDestroyContext = &DestroyContext;
        api.alcGetIntegerv = &GetIntegerv;
        api.alIsExtensionPresent = &AlIsExtensionPresent;
        api.alGetError = &GetError;
        api.alGenSources = &GenSources;
        api.alDeleteSources = &DeleteSources;
        return api;
    }

    CFakeOpenAL m_AL;
};

} // namespace

TEST_F(ALDeviceListFake, ListsEachDeviceOnceWithWhatItOffers)
{
    m_AL.Listed = {"Speakers", "Headphones", "Speakers"};
    m_AL.DefaultName = "Headphones";
    m_AL.SourceLimit = 300;
    const ALDeviceList list(Api());

    ASSERT_EQ(2, list.GetNumDevices());
    EXPECT_STREQ("Speakers", list.GetDeviceName(0));
    EXPECT_STREQ("Headphones", list.GetDeviceName(1));
    EXPECT_EQ(1, list.GetDefaultDevice());
    EXPECT_EQ(nullptr, list.GetDeviceName(2));
    EXPECT_EQ(nullptr, list.GetDeviceName(-1));

    const ALDeviceList::CDeviceInfo& info = list.GetDevices()[0];
    EXPECT_EQ(1, info.MajorVersion);
    EXPECT_EQ(0, info.MinorVersion);
    EXPECT_EQ((std::vector<std::string>{"ALC_EXT_EFX", "AL_EXT_OFFSET"}), info.Extensions);
    // At most 256 sources are counted, and every one made is deleted again.
    EXPECT_EQ(256u, info.SourceCount);
    EXPECT_EQ(0u, m_AL.Sources);
    EXPECT_EQ(0, m_AL.OpenDevices);
    EXPECT_EQ(0, m_AL.LiveContexts);
}

TEST_F(ALDeviceListFake, TheDefaultIsTheRecordOfTheDeviceNamedAsDefault)
{
    // A device before the default that does not open must not shift the
    // default onto its neighbour.
    m_AL.Listed = {"Broken", "Speakers", "Headphones"};
    m_AL.DefaultName = "Speakers";
    m_AL.FailToOpen = {"Broken"};
    const ALDeviceList list(Api());
    ASSERT_EQ(2, list.GetNumDevices());
    EXPECT_STREQ("Speakers", list.GetDeviceName(list.GetDefaultDevice()));

    m_AL.DefaultName = "Headphones";
    EXPECT_STREQ("Headphones", ALDeviceList(Api()).GetDeviceName(ALDeviceList(Api()).GetDefaultDevice()));

    // A default listed twice, or opening under another name, is its one record.
    m_AL.Listed = {"Speakers", "Headphones", "Headphones"};
    m_AL.FailToOpen.clear();
    m_AL.OpensAs["Headphones"] = "Speakers";
    const ALDeviceList renamed(Api());
    ASSERT_EQ(1, renamed.GetNumDevices());
    EXPECT_EQ(0, renamed.GetDefaultDevice());

    // A default that does not open gives no name: no other device is taken.
    m_AL.OpensAs.clear();
    m_AL.FailToOpen = {"Headphones"};
    const ALDeviceList broken(Api());
    EXPECT_EQ(-1, broken.GetDefaultDevice());
    EXPECT_EQ(nullptr, broken.GetDeviceName(broken.GetDefaultDevice()));

    m_AL.FailToOpen.clear();
    m_AL.DefaultName = "Elsewhere";
    EXPECT_EQ(-1, ALDeviceList(Api()).GetDefaultDevice());
}

TEST_F(ALDeviceListFake, NoEnumerationOrNoUsableDeviceGivesAnEmptyList)
{
    m_AL.Listed = {"Speakers"};
    m_AL.Enumeration = false;
    EXPECT_EQ(0, ALDeviceList(Api()).GetNumDevices());

    m_AL.Enumeration = true;
    m_AL.NullNames = true;
    EXPECT_EQ(0, ALDeviceList(Api()).GetNumDevices());

    m_AL.NullNames = false;
    m_AL.OpensAs["Speakers"] = "";
    EXPECT_EQ(0, ALDeviceList(Api()).GetNumDevices());
    EXPECT_EQ(0, m_AL.OpenDevices);

    m_AL.Listed.clear();
    EXPECT_EQ(0, ALDeviceList(Api()).GetNumDevices());
}

TEST(ALDeviceList, FindsTheInstalledDevice)
{
    const ALDeviceList list;
    ASSERT_GE(list.GetNumDevices(), 1);
    EXPECT_TRUE(list.GetDeviceName(list.GetDefaultDevice()));
    EXPECT_GT(list.GetDevices()[0].SourceCount, 0u);
}
