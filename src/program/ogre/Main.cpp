// The program: dravonkel [options]; "--Help" lists them.

#include "core/ogre/OgreLogMgr.h"
#include "program/ProgramEntry.h"
#include "program/ogre/OgreApplication.h"
#include "sound/openal/NullAudio.h"

int main(int argc, char** argv)
{
    // Before the first OpenAL call: without a sound card, sound goes nowhere.
    wrappers::UseNullAudioWithoutSoundCard();

    sds::CProgramServices services;
    services.CreateLogMgr = wrappers::CreateLogMgr;
    services.CreateApplication = wrappers::CreateApplication;
    return sds::RunProgram(argc, argv, services);
}
