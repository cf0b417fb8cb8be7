#include "sound/openal/OpenALSndMgr.h"

#include <algorithm>
#include <filesystem>

#include <AL/al.h>
#include <memory>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "sound/DummySndMgr.h"
#include "sound/Waves.h"
#include "sound/openal/ALDeviceList.h"
#include "sound/openal/ALError.h"
#include "sound/openal/MusicSound.h"
#include "sound/openal/MusicStream.h"
#include "sound/openal/OpenALSound.h"
#include "sound/openal/SoundTemplate.h"

namespace wrappers {
namespace {

void LogMessage(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage(text);
}

void LogError(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogError(text);
}

float ReadFloat(const xml::CNodePtr& config, const std::string& name)
{
    return config->GetAttribute(name)->GetValue<float>();
}

// The text from the last "." of the leaf name, "" when it has none.
std::string Extension(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::string leaf = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = leaf.rfind('.');
    return dot == std::string::npos ? std::string() : leaf.substr(dot);
}

bool FileExists(const std::string& fileName)
{
    std::error_code ignored;
    return std::filesystem::exists(fileName, ignored);
}

std::shared_ptr<sds::ISound> SilentSound()
{
    return std::make_shared<sds::CDummySndMgr::CDummySound>();
}

} // namespace

const std::size_t COpenALSndMgr::NoSource = static_cast<std::size_t>(-1);

COpenALSndMgr::COpenALSndMgr(const xml::CNodePtr& config)
{
    SDS_ASSERT(config && "No SoundSystem configuration");
    m_SoundVolume = ReadFloat(config, "SoundVolume");
    m_MusicVolume = ReadFloat(config, "MusicVolume");
    m_DefaultReferenceDistance = ReadFloat(config, "DefaultReferenceDistance");
    m_DefaultGain = ReadFloat(config, "DefaultGain");
    m_DefaultRolloffFactor = ReadFloat(config, "DefaultRolloffFactor");

    m_Waves = std::make_shared<details::CWaves>();

    {
        const details::ALDeviceList devices;
        if (devices.GetNumDevices() == 0)
            throw std::runtime_error("!\"Could not get OpenAL devices and hence initialize OpenAL\"");
        for (int i = 0; i < devices.GetNumDevices(); ++i)
            LogMessage("Sound device:" + std::to_string(i) + " " + devices.GetDeviceName(i) +
                       (i == devices.GetDefaultDevice() ? "(DEFAULT)" : ""));

        // The device named as default; null (OpenAL's own default) when it
        // could not be listed, never a neighbour of it.
        m_Device = alcOpenDevice(devices.GetDeviceName(devices.GetDefaultDevice()));
    }
    if (!m_Device) {
        LogError("Could not open device " + std::string(alcGetString(nullptr, alcGetError(nullptr))));
        throw std::runtime_error("!\"Could not open device\"");
    }
    m_Context = alcCreateContext(m_Device, nullptr);
    if (!m_Context) {
        const ALCenum code = alcGetError(m_Device);
        LogError("Could not create context " + std::string(alcGetString(m_Device, code)));
        alcCloseDevice(m_Device);
        throw std::runtime_error("!\"Could not open context\"");
    }
    LogMessage("Opened Device: " + std::string(alcGetString(m_Device, ALC_DEVICE_SPECIFIER)));
    alcMakeContextCurrent(m_Context);

    m_Life = std::make_shared<const bool>(true);
    SetListener(sds::CVector::ZERO, sds::CVector::ZERO, sds::CVector::UNIT_X, sds::CVector::UNIT_Y);
    alDistanceModel(AL_INVERSE_DISTANCE);
    SetMute(false);
    SetVolume(m_SoundVolume);
    SetMusicVolume(m_MusicVolume);
    LogMessage("Sound manager resources are initialized");
}

COpenALSndMgr::~COpenALSndMgr()
{
    m_Life.reset();
    ReleaseAll();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(m_Context);
    alcCloseDevice(m_Device);
    m_Waves.reset();
    LogMessage("Sound manager resources are destroyed");
}

void COpenALSndMgr::ReleaseAll()
{
    m_Streams.clear();
    for (const std::weak_ptr<details::CMusicStream>& weak : m_LiveStreams)
        if (std::shared_ptr<details::CMusicStream> stream = weak.lock())
            stream->Release();
    m_LiveStreams.clear();

    for (CSource& source : m_Sources) {
        if (!source.m_InUse)
            continue;
        alSourceStop(source.m_Source);
        alSourcei(source.m_Source, AL_BUFFER, 0);
        alDeleteSources(1, &source.m_Source);
    }
    for (CBuffer& buffer : m_Buffers)
        if (buffer.m_Buffer != 0)
            alDeleteBuffers(1, &buffer.m_Buffer);
    alGetError();
    m_BufferIndex.clear();
    m_Buffers.clear();
    m_Sources.clear();
    m_FreeSources.clear();
}

void COpenALSndMgr::LogALError(const std::string& prefix, int code) const
{
    details::LogALError(prefix, code);
}

std::shared_ptr<sds::ISoundTemplate> COpenALSndMgr::CreateSoundTemplate(const std::string& fileName)
{
    if (!FileExists(fileName))
        throw CException("File does not exist: " + fileName);
    return std::make_shared<CSoundTemplate>(m_DefaultGain, m_DefaultRolloffFactor, m_DefaultReferenceDistance,
                                              fileName, *this);
}

std::shared_ptr<sds::ISound> COpenALSndMgr::CreateSound(const std::string& fileName)
{
    // Only ".wav" exactly is an effect; every other file, ".WAV" too, is music.
    const bool music = Extension(fileName) != ".wav";
    if (!FileExists(fileName)) {
        if (!music)
            throw CException("File does not exist: " + fileName);
        // Missing music leaves the program without music, not without a level.
        LogError("File does not exist: " + fileName);
        return SilentSound();
    }
    if (music)
        return CreateMusic(fileName);

    const std::uint32_t buffer = LoadBuffer(fileName);
    if (!HasSamples(buffer)) {
        ReleaseBuffer(buffer);
        return SilentSound();
    }
    const std::size_t source = CreateSource(sds::CVector::ZERO, sds::CVector::ZERO, buffer);
    // The source holds the buffer from here on.
    ReleaseBuffer(buffer);
    if (source == NoSource) {
        LogError("No sound source is free: " + fileName + " stays silent");
        return SilentSound();
    }
    return std::make_shared<COpenALSound>(*this, source);
}

std::shared_ptr<sds::ISound> COpenALSndMgr::CreateMusic(const std::string& fileName)
{
    const std::shared_ptr<details::CMusicStream> stream = OpenStream(fileName);
    if (!stream)
        return SilentSound();
    return std::make_shared<CMusicSound>(*this, stream);
}

std::shared_ptr<details::CMusicStream> COpenALSndMgr::OpenStream(const std::string& fileName)
{
    auto found = m_Streams.find(fileName);
    if (found != m_Streams.end())
        return found->second;

    std::string reason;
    std::shared_ptr<details::CMusicStream> stream = details::CMusicStream::Open(fileName, reason);
    if (!stream) {
        LogError("Could not load: " + fileName + " (" + reason + ")");
        return nullptr;
    }
    LogMessage(fileName + " is loaded");
    stream->SetVolume(m_MusicVolume);
    m_Streams[fileName] = stream;
    m_LiveStreams.erase(std::remove_if(m_LiveStreams.begin(), m_LiveStreams.end(),
                                       [](const std::weak_ptr<details::CMusicStream>& s) { return s.expired(); }),
                        m_LiveStreams.end());
    m_LiveStreams.push_back(stream);
    return stream;
}

void COpenALSndMgr::RemoveStream(const std::shared_ptr<details::CMusicStream>& stream)
{
    for (auto it = m_Streams.begin(); it != m_Streams.end(); ++it) {
        if (it->second == stream) {
            m_Streams.erase(it);
            return;
        }
    }
}

std::uint32_t COpenALSndMgr::LoadBuffer(const std::string& fileName)
{
    auto found = m_BufferIndex.find(fileName);
    if (found != m_BufferIndex.end()) {
        CBuffer& buffer = m_Buffers[found->second];
        ++buffer.m_UseCount;
        buffer.m_InUse = buffer.m_UseCount != 0;
        return found->second;
    }

    CBuffer record;
    record.m_UseCount = 1;
    record.m_InUse = true;
    record.m_FileName = fileName;
    std::string reason;
    record.m_Buffer = UploadWav(fileName, reason);
    // The sounds of a file that cannot be used stay silent: the aircraft,
    // landing and collision sounds come from user files and must not stop a jump.
    if (record.m_Buffer == 0)
        LogError("Could not load WAV file " + fileName + ": " + reason);
    else
        LogMessage(fileName + " is loaded");
    m_Buffers.push_back(record);
    const std::uint32_t index = static_cast<std::uint32_t>(m_Buffers.size() - 1);
    m_BufferIndex[fileName] = index;
    return index;
}

bool COpenALSndMgr::HasSamples(std::uint32_t bufferIndex) const
{
    return bufferIndex < m_Buffers.size() && m_Buffers[bufferIndex].m_Buffer != 0;
}

std::uint32_t COpenALSndMgr::UploadWav(const std::string& fileName, std::string& reason)
{
    details::CWaves& waves = *m_Waves;
    int wave = -1;
    if (waves.LoadWaveFile(fileName.c_str(), &wave) != details::CWaves::WR_OK) {
        reason = waves.GetLastError();
        return 0;
    }
    const void* data = nullptr;
    std::uint32_t size = 0;
    std::uint32_t frequency = 0;
    int format = 0;
    waves.GetWaveData(wave, &data);
    waves.GetWaveSize(wave, &size);
    waves.GetWaveFrequency(wave, &frequency);
    if (waves.GetWaveALBufferFormat(wave, &alGetEnumValue, &format) != details::CWaves::WR_OK) {
        reason = waves.GetLastError();
        waves.DeleteWaveFile(wave);
        return 0;
    }

    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    m_LastError = alGetError();
    if (m_LastError != AL_NO_ERROR) {
        waves.DeleteWaveFile(wave);
        LogALError("alGenBuffers :", m_LastError);
        reason = std::string("OpenAL could not make a buffer (") + alGetString(m_LastError) + ")";
        return 0;
    }
    alBufferData(buffer, format, data, static_cast<ALsizei>(size), static_cast<ALsizei>(frequency));
    m_LastError = alGetError();
    waves.DeleteWaveFile(wave);
    if (m_LastError != AL_NO_ERROR) {
        LogALError("Load WAV File " + fileName + " :", m_LastError);
        alDeleteBuffers(1, &buffer);
        reason = std::string("OpenAL refused the samples (") + alGetString(m_LastError) + ")";
        return 0;
    }
    return buffer;
}

void COpenALSndMgr::ReleaseBuffer(std::uint32_t bufferIndex)
{
    if (bufferIndex >= m_Buffers.size())
        return;
    CBuffer& buffer = m_Buffers[bufferIndex];
    if (buffer.m_UseCount > 0)
        --buffer.m_UseCount;
    // The samples stay loaded for the next sound of the file.
    buffer.m_InUse = buffer.m_UseCount != 0;
}

std::size_t COpenALSndMgr::CreateSource(const sds::CVector& position, const sds::CVector& velocity,
                                        std::uint32_t bufferIndex)
{
    SDS_ASSERT(bufferIndex < m_Buffers.size() && "Unknown sound buffer");
    alGetError();
    ALuint name = 0;
    alGenSources(1, &name);
    m_LastError = alGetError();
    if (m_LastError != AL_NO_ERROR) {
        LogALError("alGenSources :", m_LastError);
        return NoSource;
    }

    CSource source;
    source.m_InUse = true;
    source.m_Source = name;
    source.m_BufferIndex = bufferIndex;
    source.m_Gain = m_DefaultGain;

    const auto check = [this](const char* prefix) { m_LastError = details::CheckALError(prefix); };
    alSourcef(name, AL_PITCH, 1.0f);
    check("alSourcef AL_PITCH :");
    ApplySourceGain(source);
    alSourcef(name, AL_ROLLOFF_FACTOR, m_DefaultRolloffFactor);
    check("alSourcef AL_ROLLOFF_FACTOR:");
    alSourcef(name, AL_REFERENCE_DISTANCE, m_DefaultReferenceDistance);
    check("alSourcef AL_REFERENCE_DISTANCE :");
    alSource3f(name, AL_POSITION, position.x, position.y, position.z);
    check("alSourcefv AL_POSITION :");
    alSource3f(name, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    check("alSourcefv AL_VELOCITY :");
    alSourcei(name, AL_BUFFER, static_cast<ALint>(m_Buffers[bufferIndex].m_Buffer));
    check("alSourcei AL_BUFFER:");

    CBuffer& buffer = m_Buffers[bufferIndex];
    ++buffer.m_UseCount;
    buffer.m_InUse = true;

    if (!m_FreeSources.empty()) {
        const std::size_t index = m_FreeSources.back();
        m_FreeSources.pop_back();
        m_Sources[index] = source;
        return index;
    }
    m_Sources.push_back(source);
    return m_Sources.size() - 1;
}

void COpenALSndMgr::ReleaseSource(std::size_t sourceIndex)
{
    if (sourceIndex >= m_Sources.size() || !m_Sources[sourceIndex].m_InUse)
        return;
    CSource& source = m_Sources[sourceIndex];
    alSourceStop(source.m_Source);
    alSourcei(source.m_Source, AL_BUFFER, 0);
    alDeleteSources(1, &source.m_Source);
    m_LastError = details::CheckALError("alDeleteSources :");
    ReleaseBuffer(source.m_BufferIndex);
    source = CSource();
    m_FreeSources.push_back(sourceIndex);
}

std::uint32_t COpenALSndMgr::GetSourceName(std::size_t sourceIndex) const
{
    return sourceIndex < m_Sources.size() ? m_Sources[sourceIndex].m_Source : 0;
}

void COpenALSndMgr::SetSourceGain(std::size_t sourceIndex, float gain)
{
    if (sourceIndex >= m_Sources.size() || !m_Sources[sourceIndex].m_InUse)
        return;
    m_Sources[sourceIndex].m_Gain = gain;
    ApplySourceGain(m_Sources[sourceIndex]);
}

void COpenALSndMgr::ApplySourceGain(const CSource& source)
{
    alSourcef(source.m_Source, AL_GAIN, source.m_Gain * m_SoundVolume);
    m_LastError = details::CheckALError("alSourcef AL_GAIN :");
}

std::size_t COpenALSndMgr::GetSourcesInUse() const
{
    return static_cast<std::size_t>(
        std::count_if(m_Sources.begin(), m_Sources.end(), [](const CSource& s) { return s.m_InUse; }));
}

std::uint32_t COpenALSndMgr::GetBufferUseCount(const std::string& fileName) const
{
    auto found = m_BufferIndex.find(fileName);
    return found == m_BufferIndex.end() ? 0 : m_Buffers[found->second].m_UseCount;
}

void COpenALSndMgr::SetMute(bool mute)
{
    m_Enabled = !mute;
    alListenerf(AL_GAIN, mute ? 0.0f : 1.0f);
    m_LastError = details::CheckALError("alListenerfv AL_GAIN:");
}

void COpenALSndMgr::SetVolume(float volume)
{
    m_SoundVolume = volume;
    for (const CSource& source : m_Sources)
        if (source.m_InUse)
            ApplySourceGain(source);
}

void COpenALSndMgr::SetMusicVolume(float volume)
{
    m_MusicVolume = volume;
    for (const std::weak_ptr<details::CMusicStream>& weak : m_LiveStreams)
        if (std::shared_ptr<details::CMusicStream> stream = weak.lock())
            stream->SetVolume(volume);
}

void COpenALSndMgr::SetListener(const sds::CVector& position, const sds::CVector& velocity, const sds::CVector& at,
                                const sds::CVector& up)
{
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    m_LastError = details::CheckALError("alListenerfv POSITION :");
    alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    m_LastError = details::CheckALError("alListenerfv VELOCITY :");
    const ALfloat orientation[6] = {at.x, at.y, at.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
    m_LastError = details::CheckALError("alListenerfv ORIENTATION :");
}

} // namespace wrappers
