#include "sound/openal/SoundTemplate.h"

#include <memory>

#include "core/ILogMgr.h"
#include "sound/DummySndMgr.h"
#include "sound/openal/OpenALSndMgr.h"
#include "sound/openal/OpenALSound.h"

namespace wrappers {

CSoundTemplate::CSoundTemplate(float gain, float rolloffFactor, float referenceDistance, const std::string& fileName,
                               COpenALSndMgr& manager)
    : m_Gain(gain),
      m_RolloffFactor(rolloffFactor),
      m_ReferenceDistance(referenceDistance),
      m_FileName(fileName),
      m_Manager(&manager),
      m_ManagerLife(manager.GetLifeToken()),
      m_BufferIndex(manager.LoadBuffer(fileName))
{
}

CSoundTemplate::~CSoundTemplate()
{
    if (!m_ManagerLife.expired())
        m_Manager->ReleaseBuffer(m_BufferIndex);
}

std::shared_ptr<sds::ISound> CSoundTemplate::CreateSound(const sds::CVector& position, const sds::CVector& velocity)
{
    if (m_ManagerLife.expired() || !m_Manager->HasSamples(m_BufferIndex))
        return std::make_shared<sds::CDummySndMgr::CDummySound>();
    const std::size_t source = m_Manager->CreateSource(position, velocity, m_BufferIndex);
    if (source == COpenALSndMgr::NoSource) {
        if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
            log->LogError("No sound source is free: " + m_FileName + " stays silent");
        return std::make_shared<sds::CDummySndMgr::CDummySound>();
    }
    std::shared_ptr<sds::ISound> sound = std::make_shared<COpenALSound>(*m_Manager, source);
    sound->SetGain(m_Gain);
    sound->SetReferenceDistance(m_ReferenceDistance);
    sound->SetRolloffFactor(m_RolloffFactor);
    return sound;
}

} // namespace wrappers
