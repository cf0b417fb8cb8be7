#include "sound/LoadSoundTemplate.h"

#include "core/Exception.h"
#include "sound/ISndMgr.h"

namespace sds {

std::shared_ptr<ISoundTemplate> LoadSoundTemplate(const xml::CNodePtr& Conf)
{
    SDS_ASSERT(Conf && "xml tag should exist");
    ISndMgr* sndMgr = ISndMgr::GetSingleton();
    SDS_ASSERT(sndMgr && "No sound manager exists");

    const std::string file = Conf->GetAttribute("File")->GetValue();
    std::shared_ptr<ISoundTemplate> result = sndMgr->CreateSoundTemplate(file);
    if (Conf->HasAttribute("Gain"))
        result->SetGain(Conf->GetAttribute("Gain")->GetValue<float>());
    if (Conf->HasAttribute("ReferenceDistance"))
        result->SetReferenceDistance(Conf->GetAttribute("ReferenceDistance")->GetValue<float>());
    if (Conf->HasAttribute("RolloffFactor"))
        result->SetRolloffFactor(Conf->GetAttribute("RolloffFactor")->GetValue<float>());
    return result;
}

} // namespace sds
