#pragma once

#include <string>
#include <vector>

#include <AL/al.h>
#include <AL/alc.h>

namespace wrappers {
namespace details {

// The OpenAL entry points the device list uses. Linked() gives the library's
// own; tests hand in others to play a system's devices.
struct CALDeviceApi
{
    LPALCISEXTENSIONPRESENT alcIsExtensionPresent = nullptr;
    LPALCGETSTRING alcGetString = nullptr;
    LPALCOPENDEVICE alcOpenDevice = nullptr;
    LPALCCLOSEDEVICE alcCloseDevice = nullptr;
    LPALCCREATECONTEXT alcCreateContext = nullptr;
    LPALCMAKECONTEXTCURRENT alcMakeContextCurrent = nullptr;
    LPALCDESTROYCONTEXT alcDestroyContext = nullptr;
    LPALCGETINTEGERV alcGetIntegerv = nullptr;
    LPALISEXTENSIONPRESENT alIsExtensionPresent = nullptr;
    LPALGETERROR alGetError = nullptr;
    LPALGENSOURCES alGenSources = nullptr;
    LPALDELETESOURCES alDeleteSources = nullptr;

    static CALDeviceApi Linked();
};

// The sound devices the installed OpenAL offers, each opened once to learn its
// version, extensions and how many sources it can play. Every failure gives a
// shorter or empty list, never an exception.
class ALDeviceList
{
public:
    struct CDeviceInfo
    {
        std::string Name;
        int MajorVersion = 0;
        int MinorVersion = 0;
        unsigned int SourceCount = 0;
        std::vector<std::string> Extensions;
    };

    explicit ALDeviceList(const CALDeviceApi& api = CALDeviceApi::Linked());

    int GetNumDevices() const { return static_cast<int>(m_Devices.size()); }
    // The record of the device OpenAL names as its default; -1 when that
    // device gave none (it failed to open), and GetDeviceName then gives null.
    int GetDefaultDevice() const { return m_DefaultDevice; }
    // Null for an index outside the records.
    const char* GetDeviceName(int index) const;
    const std::vector<CDeviceInfo>& GetDevices() const { return m_Devices; }

private:
    // The index of the device's record (an earlier one for a device listed
    // twice); -1 when it gave none.
    int AddDevice(const char* name);
    unsigned int CountSources() const;

    CALDeviceApi m_Api;
    std::vector<CDeviceInfo> m_Devices;
    int m_DefaultDevice = -1;
};

} // namespace details
} // namespace wrappers
