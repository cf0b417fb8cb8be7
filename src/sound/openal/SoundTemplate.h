#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sound/ISoundTemplate.h"

namespace wrappers {

class COpenALSndMgr;

// A WAV file loaded into the manager's buffer pool with the defaults its sounds
// start with. The file is read as WAV whatever its extension.
class CSoundTemplate : public sds::ISoundTemplate
{
public:
    // A file that is not a usable WAV file gives a template of silent sounds.
    CSoundTemplate(float gain, float rolloffFactor, float referenceDistance, const std::string& fileName,
                   COpenALSndMgr& manager);
    ~CSoundTemplate() override;

    // A silent sound when the manager is gone, the file has no usable samples
    // or OpenAL has no source left.
    std::shared_ptr<sds::ISound> CreateSound(const sds::CVector& position, const sds::CVector& velocity) override;
    void SetGain(float gain) override { m_Gain = gain; }
    void SetReferenceDistance(float distance) override { m_ReferenceDistance = distance; }
    void SetRolloffFactor(float factor) override { m_RolloffFactor = factor; }
    float GetGain() const override { return m_Gain; }
    float GetReferenceDistance() const override { return m_ReferenceDistance; }
    float GetRolloffFactor() const override { return m_RolloffFactor; }
    std::string GetFileName() const override { return m_FileName; }

private:
    float m_Gain;
    float m_RolloffFactor;
    float m_ReferenceDistance;
    std::string m_FileName;
    COpenALSndMgr* m_Manager;
    std::weak_ptr<const bool> m_ManagerLife;
    std::uint32_t m_BufferIndex;
};

} // namespace wrappers
