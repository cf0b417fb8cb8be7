#include "sound/openal/MusicSound.h"

#include "sound/openal/MusicStream.h"
#include "sound/openal/OpenALSndMgr.h"

namespace wrappers {

CMusicSound::CMusicSound(COpenALSndMgr& manager, const std::shared_ptr<details::CMusicStream>& stream)
    : m_Manager(&manager), m_ManagerLife(manager.GetLifeToken()), m_Stream(stream)
{
}

CMusicSound::~CMusicSound()
{
    m_Stream->Stop();
    if (!m_ManagerLife.expired())
        m_Manager->RemoveStream(m_Stream);
}

void CMusicSound::Play(bool loop)
{
    m_Stream->Play(loop);
}

void CMusicSound::Stop()
{
    m_Stream->Stop();
}

void CMusicSound::SetGain(float gain)
{
    m_Stream->SetVolume(gain);
}

bool CMusicSound::IsPlaying() const
{
    return m_Stream->IsPlaying();
}

} // namespace wrappers
