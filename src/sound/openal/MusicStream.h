#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace wrappers {
namespace details {

// One music file decoded whole (WAV, Ogg Vorbis, FLAC) into an OpenAL buffer,
// played by a source of its own that sits on the listener, so it is heard the
// same wherever the listener goes.
class CMusicStream
{
public:
    // Null, with the reason, when the file cannot be decoded or OpenAL refuses it.
    static std::shared_ptr<CMusicStream> Open(const std::string& fileName, std::string& reason);
    ~CMusicStream();
    CMusicStream(const CMusicStream&) = delete;
    CMusicStream& operator=(const CMusicStream&) = delete;

    // Starts the music, or resumes it where Stop left it; music that plays
    // already goes on.
    void Play(bool loop);
    // Pauses the music, keeping its place.
    void Stop();
    void SetVolume(float volume);
    bool IsPlaying() const;
    // Frees the OpenAL objects now; every later call does nothing.
    void Release();

private:
    CMusicStream(std::uint32_t buffer, std::uint32_t source) : m_Buffer(buffer), m_Source(source) {}

    std::uint32_t m_Buffer;
    std::uint32_t m_Source;
};

} // namespace details
} // namespace wrappers
