#pragma once

#include <AL/al.h>

// Sources OpenAL can still make, counted by making them and deleting them again.
inline int FreeOpenALSources()
{
    ALuint sources[512];
    int count = 0;
    alGetError();
    for (; count < 512; ++count) {
        alGenSources(1, &sources[count]);
        if (alGetError() != AL_NO_ERROR)
            break;
    }
    alDeleteSources(count, sources);
    return count;
}
