// Writes the program's default sounds into the folder given on the command
// line: the menu click and hover ticks, the aircraft's engine drone, a 1 s test
// tone, the menu music and the wind over the drop zone; the landing sounds
// of the default drop zone into the second folder, and the force-field
// edition's sounds into the third. Everything is synthesised
// here, so a fresh clone builds every sound it plays.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <sndfile.h>

namespace {

const double Pi = 3.14159265358979323846;

struct CSignal
{
    int Rate;
    int Channels;
    std::vector<float> Samples; // interleaved
};

bool Write(const std::string& path, const CSignal& signal, int format)
{
    SF_INFO info = {};
    info.samplerate = signal.Rate;
    info.channels = signal.Channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "Cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG) {
        double quality = 0.5;
        sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    }
    const sf_count_t frames = static_cast<sf_count_t>(signal.Samples.size()) / signal.Channels;
    const bool written = sf_writef_float(file, signal.Samples.data(), frames) == frames;
    sf_close(file);
    if (!written)
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return written;
}

void Normalize(CSignal& signal, float peak)
{
    float max = 0.0f;
    for (float s : signal.Samples)
        max = std::max(max, std::fabs(s));
    if (max > 0.0f)
        for (float& s : signal.Samples)
            s *= peak / max;
}

// A 440 Hz sine of 1 s at half scale, with 5 ms ramps so it starts and ends cleanly.
CSignal TestTone()
{
    CSignal tone{44100, 1, std::vector<float>(44100)};
    const int ramp = 44100 / 200;
    for (int i = 0; i < 44100; ++i) {
        const float edge = std::min({1.0f, float(i) / ramp, float(44100 - 1 - i) / ramp});
        tone.Samples[i] = 0.5f * edge * float(std::sin(2.0 * Pi * 440.0 * i / 44100.0));
    }
    return tone;
}

// A short decaying knock: two partials under an exponential envelope.
CSignal Tick(double seconds, double frequency, double decay, float peak)
{
    const int rate = 44100;
    const int count = int(seconds * rate);
    CSignal tick{rate, 1, std::vector<float>(count)};
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / rate;
        const double attack = std::min(1.0, t / 0.001);
        const double env = attack * std::exp(-t / decay);
        tick.Samples[i] = float(env * (std::sin(2 * Pi * frequency * t) + 0.5 * std::sin(2 * Pi * frequency * 0.5 * t)));
    }
    Normalize(tick, peak);
    return tick;
}

// A 2 s loop of a piston engine: a 55 Hz harmonic series pulsed at the blade
// rate, over broadband rumble. Every partial completes whole cycles in 2 s,
// so the loop has no seam.
CSignal EngineDrone()
{
    const int rate = 22050;
    const double length = 2.0;
    const int count = int(length * rate);
    CSignal drone{rate, 1, std::vector<float>(count, 0.0f)};

    std::uint32_t seed = 12345;
    const auto random = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    // Rumble: partials 0.5 Hz apart from 100 Hz to 1.5 kHz with random phases,
    // each advanced by a rotation per sample.
    std::vector<std::complex<double>> partials;
    std::vector<std::complex<double>> steps;
    for (int k = 200; k <= 3000; ++k) {
        const double f = 0.5 * k;
        partials.push_back(std::polar(100.0 / f, 2 * Pi * random()));
        steps.push_back(std::polar(1.0, 2 * Pi * f / rate));
    }

    for (int i = 0; i < count; ++i) {
        const double t = double(i) / rate;
        double engine = 0.0;
        for (int h = 1; h <= 12; ++h)
            engine += std::sin(2 * Pi * 55.0 * h * t + h) / h;
        const double blades = 0.75 + 0.25 * std::sin(2 * Pi * 27.5 * t);
        double rumble = 0.0;
        for (std::size_t k = 0; k < partials.size(); ++k) {
            rumble += partials[k].imag();
            partials[k] *= steps[k];
        }
        drone.Samples[i] = float(engine * blades + 0.02 * rumble);
    }
    Normalize(drone, 0.7f);
    return drone;
}

double NoteFrequency(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// 16 s of calm menu music that loops without a seam: a pad through A minor,
// F, C and G, a bass on the roots and a plucked arpeggio above. Every note is
// written into a circular buffer, so tails past the end fold onto the start.
CSignal MenuMusic()
{
    const int rate = 44100;
    const double chordLength = 4.0;
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
    const int count = int(4 * chordLength * rate);
    CSignal music{rate, 2, std::vector<float>(2 * count, 0.0f)};

    const auto add = [&](long frame, float left, float right) {
        const long at = ((frame % count) + count) % count;
        music.Samples[2 * at] += left;
        music.Samples[2 * at + 1] += right;
    };

    for (int c = 0; c < 4; ++c) {
        const long start = long(c * chordLength * rate);
        // Pad: fades in over 1 s before the chord and out 1 s after it.
        const long padStart = start - rate;
        const long padLength = long((chordLength + 2.0) * rate);
        for (long i = 0; i < padLength; ++i) {
            const double t = double(i) / rate;
            const double env = std::sin(Pi * t / (chordLength + 2.0));
            double left = 0.0, right = 0.0;
            for (int n = 0; n < 3; ++n) {
                const double f = NoteFrequency(chords[c][n]);
                left += std::sin(2 * Pi * f * 0.998 * t) + 0.2 * std::sin(4 * Pi * f * t);
                right += std::sin(2 * Pi * f * 1.002 * t) + 0.2 * std::sin(4 * Pi * f * t);
            }
            const double bass = std::sin(2 * Pi * NoteFrequency(chords[c][0] - 12) * t);
            add(padStart + i, float(env * env * (0.12 * left + 0.25 * bass)), float(env * env * (0.12 * right + 0.25 * bass)));
        }
        // Arpeggio: eight plucked notes an octave up, panned left and right in turn.
        const int pattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
        for (int step = 0; step < 8; ++step) {
            const long noteStart = start + long(step * chordLength / 8 * rate);
            const double f = NoteFrequency(chords[c][pattern[step]] + 12);
            const double pan = step % 2 == 0 ? 0.35 : 0.65;
            for (long i = 0; i < long(1.5 * rate); ++i) {
                const double t = double(i) / rate;
                const double env = std::min(1.0, t / 0.004) * std::exp(-t / 0.35);
                const double s = env * (std::sin(2 * Pi * f * t) + 0.3 * std::sin(6 * Pi * f * t) * std::exp(-t / 0.1));
                add(noteStart + i, float(0.18 * s * (1.0 - pan)), float(0.18 * s * pan));
            }
        }
    }
    Normalize(music, 0.8f);
    return music;
}

// Noise shaped by a fast attack and an exponential decay, low-passed by a
// one-pole filter of `smoothing` (0 none, towards 1 duller): thuds, rustles
// and splashes of a landing. The seed keeps each file the same on every build.
CSignal Impact(double seconds, double attack, double decay, double smoothing, double tone, unsigned seed, float peak)
{
    const int rate = 22050;
    CSignal impact{rate, 1, std::vector<float>(std::size_t(seconds * rate), 0.0f)};
    unsigned state = seed;
    double low = 0.0;
    for (std::size_t i = 0; i < impact.Samples.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = double(state >> 8) / double(1u << 24) * 2.0 - 1.0;
        low = smoothing * low + (1.0 - smoothing) * noise;
        const double t = double(i) / rate;
        const double env = std::min(1.0, t / attack) * std::exp(-t / decay);
        impact.Samples[i] = float(env * (low + 0.5 * std::sin(2 * Pi * tone * t)));
    }
    Normalize(impact, peak);
    return impact;
}

// A neck cracking: two sharp snaps 60 ms apart over a dull thud.
CSignal NeckCrack()
{
    CSignal crack = Impact(0.5, 0.002, 0.09, 0.7, 70.0, 7u, 0.9f);
    const CSignal snap = Impact(0.05, 0.0005, 0.008, 0.1, 2200.0, 11u, 0.9f);
    for (long at : {long(0.01 * crack.Rate), long(0.07 * crack.Rate)})
        for (std::size_t i = 0; i < snap.Samples.size() && at + i < crack.Samples.size(); ++i)
            crack.Samples[at + i] += snap.Samples[i];
    Normalize(crack, 0.9f);
    return crack;
}

// A two-pole resonator: shapes a buzz into a vowel's formant.
struct CResonator
{
    CResonator(double frequency, double bandwidth, int rate)
    {
        const double r = std::exp(-Pi * bandwidth / rate);
        a1 = 2.0 * r * std::cos(2 * Pi * frequency / rate);
        a2 = -r * r;
        gain = 1.0 - r;
    }
    double operator()(double in)
    {
        const double out = gain * in + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = out;
        return out;
    }
    double a1, a2, gain, y1 = 0.0, y2 = 0.0;
};

// About 3 s of a small crowd cheering: voices with rising pitch through "ah"
// and "ey" formants, each starting and stopping at its own time, over breath
// noise and scattered claps. The seed keeps the file the same on every build.
CSignal Cheer()
{
    const int rate = 22050;
    const double length = 3.0;
    CSignal cheer{rate, 1, std::vector<float>(std::size_t(length * rate), 0.0f)};
    std::uint32_t seed = 4242;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };

    for (int voice = 0; voice < 36; ++voice) {
        const double pitch = 170.0 + 260.0 * random();
        const double start = 0.05 + 0.35 * random();
        const double end = start + 1.6 + 0.9 * random();
        const double vibrato = 4.5 + 2.0 * random();
        const bool open = random() < 0.6;
        CResonator first(open ? 750.0 : 500.0, 110.0, rate);
        CResonator second(open ? 1200.0 : 1850.0, 150.0, rate);
        double phase = random();
        for (std::size_t i = std::size_t(start * rate); i < cheer.Samples.size(); ++i) {
            const double t = double(i) / rate;
            if (t > end)
                break;
            const double age = t - start;
            const double f0 = pitch * (1.0 + 0.25 * std::min(age, 0.4) + 0.02 * std::sin(2 * Pi * vibrato * t));
            phase += f0 / rate;
            phase -= std::floor(phase);
            const double buzz = 2.0 * phase - 1.0;
            const double env = std::min(1.0, age / 0.08) * std::min(1.0, (end - t) / 0.4);
            cheer.Samples[i] += float(env * (first(buzz) + 0.6 * second(buzz)));
        }
    }

    CResonator breath(900.0, 1200.0, rate);
    for (std::size_t i = 0; i < cheer.Samples.size(); ++i) {
        const double t = double(i) / rate;
        const double env = std::min(1.0, t / 0.3) * std::min(1.0, (length - t) / 0.8);
        cheer.Samples[i] += float(env * 6.0 * breath(random() * 2.0 - 1.0));
    }

    for (int clap = 0; clap < 40; ++clap) {
        const std::size_t at = std::size_t((0.2 + 2.2 * random()) * rate);
        const std::size_t size = std::size_t(0.015 * rate);
        for (std::size_t i = 0; i < size && at + i < cheer.Samples.size(); ++i)
            cheer.Samples[at + i] += float(0.3 * (random() * 2.0 - 1.0) * std::exp(-double(i) / (0.003 * rate)));
    }
    Normalize(cheer, 0.8f);
    return cheer;
}

// 12 s of wind over the drop zone that loops without a seam: noise through
// two low-pass stages, swelling with gusts whose periods divide the loop; the
// last second is faded into the first.
CSignal Wind()
{
    const int rate = 22050;
    const double length = 12.0;
    const int count = int(length * rate);
    const int fade = rate;
    std::vector<double> noise(count + fade);
    std::uint32_t seed = 2010;
    double low = 0.0, lower = 0.0;
    for (double& s : noise) {
        seed = seed * 1664525u + 1013904223u;
        const double white = double(seed >> 8) / double(1u << 23) - 1.0;
        low += 0.08 * (white - low);
        lower += 0.15 * (low - lower);
        s = lower;
    }
    CSignal wind{rate, 1, std::vector<float>(count)};
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / rate;
        const double gusts = 0.55 + 0.25 * std::sin(2 * Pi * t / 6.0) + 0.15 * std::sin(2 * Pi * t / 4.0 + 1.0) +
                             0.05 * std::sin(2 * Pi * t / 1.5);
        const double blend = double(i) / fade;
        const double sample = i < fade ? blend * noise[i] + (1.0 - blend) * noise[count + i] : noise[i];
        wind.Samples[i] = float(gusts * sample);
    }
    Normalize(wind, 0.6f);
    return wind;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Usage: %s <output folder> <drop-zone sounds folder> <force-field sounds folder>\n",
                     argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::string zone = argv[2];
    const std::string forceFields = argv[3];
    const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const bool ok = Write(dir + "/tone.wav", TestTone(), wav) &&
                    Write(dir + "/click.wav", Tick(0.08, 1800.0, 0.012, 0.6f), wav) &&
                    Write(dir + "/over.wav", Tick(0.04, 2600.0, 0.006, 0.3f), wav) &&
                    Write(dir + "/airplane.wav", EngineDrone(), wav) &&
                    Write(dir + "/menu.ogg", MenuMusic(), SF_FORMAT_OGG | SF_FORMAT_VORBIS) &&
                    Write(dir + "/wind.ogg", Wind(), SF_FORMAT_OGG | SF_FORMAT_VORBIS) &&
                    // Landings: the body on the ground, the canopy on the ground, water, and the worst crash.
                    Write(zone + "/BodyThud.wav", Impact(0.35, 0.003, 0.06, 0.85, 60.0, 3u, 0.8f), wav) &&
                    Write(zone + "/CanopyRustle.wav", Impact(0.8, 0.05, 0.2, 0.3, 0.0, 5u, 0.4f), wav) &&
                    Write(zone + "/Splash.wav", Impact(1.0, 0.01, 0.25, 0.5, 0.0, 9u, 0.7f), wav) &&
                    Write(zone + "/NeckCrack.wav", NeckCrack(), wav) &&
                    // The force-field edition's hit of the target.
                    Write(forceFields + "/Cheer.wav", Cheer(), wav);
    return ok ? 0 : 1;
}
