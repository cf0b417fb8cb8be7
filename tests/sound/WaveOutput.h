#pragma once

#include <string>
#include <vector>

// OpenAL Soft's "wave" back end for the sound tests: every device the test
// process opens writes what it mixes to one WAV file, rewritten at each open.
// The set-up runs before any test, because OpenAL reads its configuration once
// per process, and it overrides an ALSOFT_DRIVERS=null that CI may export.
namespace waveoutput {

// The file the current or last device wrote.
const std::string& File();

// Blocks until the current context's device has mixed that much more sound.
void WaitForMixed(double seconds);

// The samples (mono, float) of the last closed device.
std::vector<float> Read();

// Root mean square of samples [from, to) in seconds.
double Rms(const std::vector<float>& samples, double from, double to);
// The highest RMS of any 20 ms window: the level of what played.
double PlayedLevel(const std::vector<float>& samples);
double Duration(const std::vector<float>& samples);

const int SampleRate = 44100;

// Writes a 440 Hz sine at half scale, mono at 44.1 kHz: Ogg Vorbis for ".ogg",
// 16-bit WAV otherwise.
void WriteTone(const std::string& path, double seconds);

} // namespace waveoutput
