#include "sound/openal/OpenALSound.h"

#include <AL/al.h>

#include "sound/openal/ALError.h"
#include "sound/openal/OpenALSndMgr.h"

namespace wrappers {

using details::CheckALError;

COpenALSound::COpenALSound(COpenALSndMgr& manager, std::size_t sourceIndex)
    : m_Manager(&manager),
      m_ManagerLife(manager.GetLifeToken()),
      m_SourceIndex(sourceIndex),
      m_Source(manager.GetSourceName(sourceIndex))
{
    ALfloat position[3] = {0.0f, 0.0f, 0.0f};
    alGetSourcefv(m_Source, AL_POSITION, position);
    if (CheckALError("alGetSourcefv 0 AL_POSITION :") == AL_NO_ERROR)
        m_Position = sds::CVector(position[0], position[1], position[2]);
}

COpenALSound::~COpenALSound()
{
    if (!m_ManagerLife.expired())
        m_Manager->ReleaseSource(m_SourceIndex);
}

std::uint32_t COpenALSound::GetSource() const
{
    return m_ManagerLife.expired() ? 0 : m_Source;
}

void COpenALSound::Play(bool loop)
{
    const ALuint source = GetSource();
    if (source == 0)
        return;
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    CheckALError("alSourcei AL_LOOPING:");
    // Playing a sound that plays already restarts it.
    alSourcePlay(source);
    CheckALError("alSourcePlay :");
}

void COpenALSound::Stop()
{
    const ALuint source = GetSource();
    if (source == 0)
        return;
    alSourceStop(source);
    CheckALError("alSourceStop:");
}

void COpenALSound::SetGain(float gain)
{
    if (GetSource() != 0)
        m_Manager->SetSourceGain(m_SourceIndex, gain);
}

void COpenALSound::SetReferenceDistance(float distance)
{
    const ALuint source = GetSource();
    if (source == 0)
        return;
    alSourcef(source, AL_REFERENCE_DISTANCE, distance);
    CheckALError("alSourcefv 0 AL_REFERENCE_DISTANCE:");
}

void COpenALSound::SetRolloffFactor(float factor)
{
    const ALuint source = GetSource();
    if (source == 0)
        return;
    alSourcef(source, AL_ROLLOFF_FACTOR, factor);
    CheckALError("alSourcefv 0 AL_ROLLOFF_FACTOR:");
}

bool COpenALSound::IsPlaying() const
{
    const ALuint source = GetSource();
    if (source == 0)
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        details::LogALError("GetSourcei for " + std::to_string(source) + " sound:", error);
        return false;
    }
    return state == AL_PLAYING;
}

void COpenALSound::SetPosition(const sds::CVector& position)
{
    const ALuint source = GetSource();
    if (source != 0) {
        alSource3f(source, AL_POSITION, position.x, position.y, position.z);
        CheckALError("alSourcefv 0 AL_POSITION :");
    }
    m_Position = position;
}

void COpenALSound::SetVelocity(const sds::CVector& velocity)
{
    const ALuint source = GetSource();
    if (source == 0)
        return;
    alSource3f(source, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    CheckALError("alSourcefv 0 AL_VELOCITY :");
}

} // namespace wrappers
