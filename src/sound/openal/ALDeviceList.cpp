#include "sound/openal/ALDeviceList.h"

#include <cstring>

namespace wrappers {
namespace details {

CALDeviceApi CALDeviceApi::Linked()
{
    CALDeviceApi api;
    api.alcIsExtensionPresent = ::alcIsExtensionPresent;
    api.alcGetString = ::alcGetString;
    api.alcOpenDevice = ::alcOpenDevice;
    api.alcCloseDevice = ::alcCloseDevice;
    api.alcCreateContext = ::alcCreateContext;
    api.alcMakeContextCurrent = ::alcMakeContextCurrent;
    api.alcDestroyContext = ::alcDestroyContext;
    api.alcGetIntegerv = ::alcGetIntegerv;
    api.alIsExtensionPresent = ::alIsExtensionPresent;
    api.alGetError = ::alGetError;
    api.alGenSources = ::alGenSources;
    api.alDeleteSources = ::alDeleteSources;
    return api;
}

ALDeviceList::ALDeviceList(const CALDeviceApi& api) : m_Api(api)
{
    m_Devices.reserve(10);
    if (m_Api.alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT")) {
        const char* names = m_Api.alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
        if (!names)
            return;
        const char* defaultName = m_Api.alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
        // A sequence of zero-terminated names ended by an empty one.
        for (const char* name = names; *name; name += std::strlen(name) + 1) {
            const int record = AddDevice(name);
            // The record of the default device, wherever devices before it failed.
            if (m_DefaultDevice < 0 && defaultName && std::strcmp(name, defaultName) == 0)
                m_DefaultDevice = record;
        }
    }
}

int ALDeviceList::AddDevice(const char* name)
{
    ALCdevice* device = m_Api.alcOpenDevice(name);
    if (!device)
        return -1;
    ALCcontext* context = m_Api.alcCreateContext(device, nullptr);
    if (!context) {
        m_Api.alcCloseDevice(device);
        return -1;
    }
    m_Api.alcMakeContextCurrent(context);

    const char* actualName = m_Api.alcGetString(device, ALC_DEVICE_SPECIFIER);
    int record = -1;
    for (std::size_t i = 0; actualName && i < m_Devices.size(); ++i)
        if (m_Devices[i].Name == actualName)
            record = static_cast<int>(i);

    if (record < 0 && actualName && *actualName) {
        CDeviceInfo info;
        info.Name = actualName;
        m_Api.alcGetIntegerv(device, ALC_MAJOR_VERSION, 1, &info.MajorVersion);
        m_Api.alcGetIntegerv(device, ALC_MINOR_VERSION, 1, &info.MinorVersion);
        for (const char* ext : {"ALC_EXT_CAPTURE", "ALC_EXT_EFX"})
            if (m_Api.alcIsExtensionPresent(device, ext))
                info.Extensions.push_back(ext);
        for (const char* ext : {"AL_EXT_OFFSET", "AL_EXT_LINEAR_DISTANCE", "AL_EXT_EXPONENT_DISTANCE", "EAX2.0",
                                "EAX3.0", "EAX4.0", "EAX5.0", "EAX-RAM"})
            if (m_Api.alIsExtensionPresent(ext))
                info.Extensions.push_back(ext);
        info.SourceCount = CountSources();
        m_Devices.push_back(info);
        record = GetNumDevices() - 1;
    }

    m_Api.alcMakeContextCurrent(nullptr);
    m_Api.alcDestroyContext(context);
    m_Api.alcCloseDevice(device);
    return record;
}

unsigned int ALDeviceList::CountSources() const
{
    const unsigned int maxSources = 256;
    ALuint sources[maxSources] = {};
    unsigned int count = 0;
    m_Api.alGetError();
    for (; count < maxSources; ++count) {
        m_Api.alGenSources(1, &sources[count]);
        if (m_Api.alGetError() != AL_NO_ERROR)
            break;
    }
    m_Api.alDeleteSources(static_cast<ALsizei>(count), sources);
    if (m_Api.alGetError() != AL_NO_ERROR)
        for (unsigned int i = 0; i < count; ++i)
            m_Api.alDeleteSources(1, &sources[i]);
    return count;
}

const char* ALDeviceList::GetDeviceName(int index) const
{
    if (index < 0 || index >= GetNumDevices())
        return nullptr;
    return m_Devices[static_cast<std::size_t>(index)].Name.c_str();
}

} // namespace details
} // namespace wrappers
