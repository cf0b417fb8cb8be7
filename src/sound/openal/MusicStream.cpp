#include "sound/openal/MusicStream.h"

#include <vector>

#include <AL/al.h>
#include <sndfile.h>

#include "sound/openal/ALError.h"

namespace wrappers {
namespace details {
namespace {

// An hour of 48 kHz stereo: anything longer is not menu or level music.
const sf_count_t MaxSamples = sf_count_t(48000) * 2 * 3600;

struct CDecoded
{
    std::vector<short> Samples;
    int Channels = 0;
    int SampleRate = 0;
};

// Reads until the decoder stops rather than trusting the frame count in the header.
bool Decode(const std::string& fileName, CDecoded& out, std::string& reason)
{
    SF_INFO info = {};
    SNDFILE* file = sf_open(fileName.c_str(), SFM_READ, &info);
    if (!file) {
        reason = sf_strerror(nullptr);
        return false;
    }
    if (info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        reason = "it has no channels or no sample rate";
        return false;
    }

    const int channels = info.channels;
    std::vector<short> chunk(static_cast<std::size_t>(4096) * static_cast<std::size_t>(channels));
    // OpenAL takes mono and stereo; more channels are mixed down to mono.
    const int outChannels = channels <= 2 ? channels : 1;
    out.Samples.clear();
    for (;;) {
        const sf_count_t frames = sf_readf_short(file, chunk.data(), 4096);
        if (frames <= 0)
            break;
        if (static_cast<sf_count_t>(out.Samples.size()) + frames * outChannels > MaxSamples) {
            sf_close(file);
            reason = "it is too long to be decoded whole";
            return false;
        }
        if (outChannels == channels) {
            out.Samples.insert(out.Samples.end(), chunk.begin(), chunk.begin() + frames * channels);
        } else {
            for (sf_count_t f = 0; f < frames; ++f) {
                int sum = 0;
                for (int c = 0; c < channels; ++c)
                    sum += chunk[static_cast<std::size_t>(f * channels + c)];
                out.Samples.push_back(static_cast<short>(sum / channels));
            }
        }
    }
    const int error = sf_error(file);
    const std::string errorText = sf_strerror(file);
    sf_close(file);
    if (error != SF_ERR_NO_ERROR) {
        reason = errorText;
        return false;
    }
    if (out.Samples.empty()) {
        reason = "it holds no samples";
        return false;
    }
    out.Channels = outChannels;
    out.SampleRate = info.samplerate;
    return true;
}

} // namespace

std::shared_ptr<CMusicStream> CMusicStream::Open(const std::string& fileName, std::string& reason)
{
    CDecoded decoded;
    if (!Decode(fileName, decoded, reason))
        return nullptr;

    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        reason = std::string("OpenAL could not make a buffer: ") + alGetString(error);
        return nullptr;
    }
    alBufferData(buffer, decoded.Channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, decoded.Samples.data(),
                 static_cast<ALsizei>(decoded.Samples.size() * sizeof(short)), decoded.SampleRate);
    error = alGetError();
    if (error != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        reason = std::string("OpenAL refused the samples: ") + alGetString(error);
        return nullptr;
    }

    ALuint source = 0;
    alGenSources(1, &source);
    error = alGetError();
    if (error != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        reason = std::string("OpenAL has no source left: ") + alGetString(error);
        return nullptr;
    }
    // On the listener and without distance attenuation: music has no place.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    CheckALError("Music source set-up:");
    return std::shared_ptr<CMusicStream>(new CMusicStream(buffer, source));
}

CMusicStream::~CMusicStream()
{
    Release();
}

void CMusicStream::Release()
{
    if (m_Source != 0) {
        alSourceStop(m_Source);
        alSourcei(m_Source, AL_BUFFER, 0);
        alDeleteSources(1, &m_Source);
        CheckALError("alDeleteSources (music):");
        m_Source = 0;
    }
    if (m_Buffer != 0) {
        alDeleteBuffers(1, &m_Buffer);
        CheckALError("alDeleteBuffers (music):");
        m_Buffer = 0;
    }
}

void CMusicStream::Play(bool loop)
{
    if (m_Source == 0)
        return;
    alSourcei(m_Source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    CheckALError("alSourcei AL_LOOPING (music):");
    // Music that plays goes on; music that was stopped resumes where it stood.
    if (IsPlaying())
        return;
    alSourcePlay(m_Source);
    CheckALError("alSourcePlay (music):");
}

void CMusicStream::Stop()
{
    if (m_Source == 0)
        return;
    // A pause: the menus stop their music whenever a jump runs over them, and
    // it must not start from the beginning each time they come back.
    alSourcePause(m_Source);
    CheckALError("alSourcePause (music):");
}

void CMusicStream::SetVolume(float volume)
{
    if (m_Source == 0)
        return;
    alSourcef(m_Source, AL_GAIN, volume);
    CheckALError("alSourcef AL_GAIN (music):");
}

bool CMusicStream::IsPlaying() const
{
    if (m_Source == 0)
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(m_Source, AL_SOURCE_STATE, &state);
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        LogALError("GetSourcei for " + std::to_string(m_Source) + " music:", error);
        return false;
    }
    return state == AL_PLAYING;
}

} // namespace details
} // namespace wrappers
