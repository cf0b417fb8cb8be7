#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <AL/alc.h>

#include "core/Node.h"
#include "sound/ISndMgr.h"

namespace wrappers {

namespace details {
class CWaves;
class CMusicStream;
} // namespace details

// The sound service over OpenAL. ".wav" files become positional effects: one
// OpenAL buffer per file name, shared by every sound of that file, and one
// OpenAL source per living sound, freed when the sound is released. Any other
// file is music, decoded whole and played without position at the music volume.
//
// The effect volume scales each effect source and the music volume each music
// source, so the two never touch each other; mute sets the listener gain to 0
// and silences both.
class COpenALSndMgr : public sds::ISndMgr
{
public:
    struct CResUsed
    {
        virtual ~CResUsed() = default;
        bool m_InUse = false;
    };
    struct CBuffer : CResUsed
    {
        // Templates and living sounds that play from this buffer.
        std::uint32_t m_UseCount = 0;
        std::uint32_t m_Buffer = 0;
        std::string m_FileName;
    };
    struct CSource : CResUsed
    {
        std::uint32_t m_Source = 0;
        std::uint32_t m_BufferIndex = 0;
        // The sound's own gain, before the effect volume.
        float m_Gain = 1.0f;
    };

    // What CreateSource returns when OpenAL has no source left.
    static const std::size_t NoSource;

    // Reads "SoundVolume", "MusicVolume", "DefaultReferenceDistance",
    // "DefaultGain" and "DefaultRolloffFactor" of the "SoundSystem" node and
    // opens the default device. Throws when a value is missing or no device opens.
    explicit COpenALSndMgr(const xml::CNodePtr& config);
    ~COpenALSndMgr() override;

    std::shared_ptr<sds::ISoundTemplate> CreateSoundTemplate(const std::string& fileName) override;
    std::shared_ptr<sds::ISound> CreateSound(const std::string& fileName) override;
    void SetMute(bool mute) override;
    bool IsMuted() const override { return !m_Enabled; }
    void SetVolume(float volume) override;
    void SetMusicVolume(float volume) override;
    float GetVolume() const override { return m_SoundVolume; }
    float GetMusicVolume() const override { return m_MusicVolume; }
    void SetListener(const sds::CVector& position, const sds::CVector& velocity, const sds::CVector& at,
                     const sds::CVector& up) override;

    void LogALError(const std::string& prefix, int code) const;

    // The pools behind the sounds, templates and music of this manager.
    // A file that is not a usable WAV file is logged with the reason and gets
    // a buffer without samples, whose sounds stay silent.
    std::uint32_t LoadBuffer(const std::string& fileName);
    bool HasSamples(std::uint32_t bufferIndex) const;
    void ReleaseBuffer(std::uint32_t bufferIndex);
    std::size_t CreateSource(const sds::CVector& position, const sds::CVector& velocity, std::uint32_t bufferIndex);
    void ReleaseSource(std::size_t sourceIndex);
    std::uint32_t GetSourceName(std::size_t sourceIndex) const;
    void SetSourceGain(std::size_t sourceIndex, float gain);
    // The cached stream of the file, decoded on first use; null when it cannot be.
    std::shared_ptr<details::CMusicStream> OpenStream(const std::string& fileName);
    void RemoveStream(const std::shared_ptr<details::CMusicStream>& stream);
    // Expires when the manager goes: sounds and templates that outlive it go quiet.
    std::weak_ptr<const bool> GetLifeToken() const { return m_Life; }

    std::size_t GetSourcesInUse() const;
    std::uint32_t GetBufferUseCount(const std::string& fileName) const;
    std::size_t GetBufferCount() const { return m_Buffers.size(); }
    std::size_t GetStreamCount() const { return m_Streams.size(); }

private:
    std::shared_ptr<sds::ISound> CreateMusic(const std::string& fileName);
    // The OpenAL buffer of the file's samples; 0 with the reason when there is none.
    std::uint32_t UploadWav(const std::string& fileName, std::string& reason);
    void ApplySourceGain(const CSource& source);
    void ReleaseAll();

    std::vector<CBuffer> m_Buffers;
    std::vector<CSource> m_Sources;
    std::vector<std::size_t> m_FreeSources;
    std::map<std::string, std::shared_ptr<details::CMusicStream>> m_Streams;
    // Every stream still alive, cached or held only by its sounds.
    std::vector<std::weak_ptr<details::CMusicStream>> m_LiveStreams;
    bool m_Enabled = true;
    int m_LastError = 0;
    std::map<std::string, std::uint32_t> m_BufferIndex;
    float m_SoundVolume = 0.0f;
    float m_MusicVolume = 0.0f;
    std::shared_ptr<details::CWaves> m_Waves;
    float m_DefaultReferenceDistance = 1.0f;
    float m_DefaultGain = 1.0f;
    float m_DefaultRolloffFactor = 1.0f;
    ALCdevice* m_Device = nullptr;
    ALCcontext* m_Context = nullptr;
    std::shared_ptr<const bool> m_Life;
};

} // namespace wrappers
