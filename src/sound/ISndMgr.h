#pragma once

#include <stdexcept>
#include <string>

#include <memory>

#include "core/SingletonTmpl.h"
#include "core/Vector.h"
#include "sound/ISound.h"
#include "sound/ISoundTemplate.h"

namespace sds {

// The sound service: the only way the program plays sound. Start-up installs the
// OpenAL manager, or the silent one when sound is off or OpenAL fails.
class ISndMgr : public CSingletonTmpl<ISndMgr>
{
public:
    // A sound file that is missing or cannot be used.
    class CException : public std::runtime_error
    {
    public:
        explicit CException(const std::string& message) : std::runtime_error(message) {}
    };

    ~ISndMgr() override = default;
    virtual std::shared_ptr<ISoundTemplate> CreateSoundTemplate(const std::string& fileName) = 0;
    // A ".wav" file is a positional effect; any other file is music.
    virtual std::shared_ptr<ISound> CreateSound(const std::string& fileName) = 0;
    // Silences everything without changing the stored volumes.
    virtual void SetMute(bool mute) = 0;
    virtual bool IsMuted() const = 0;
    // Volume of the effects.
    virtual void SetVolume(float volume) = 0;
    virtual void SetMusicVolume(float volume) = 0;
    virtual float GetVolume() const = 0;
    virtual float GetMusicVolume() const = 0;
    virtual void SetListener(const CVector& position, const CVector& velocity, const CVector& at,
                             const CVector& up) = 0;
};

} // namespace sds
