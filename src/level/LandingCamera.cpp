#include "level/LandingCamera.h"

#include "app/EventNames.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"

namespace sds {

namespace {

void PlaceCamera(ICamera& camera, const xml::CNode& element)
{
    if (element.HasAttribute("Pos"))
        camera.SetPos(element.GetAttribute("Pos")->GetValue<CVector>());
    if (element.HasAttribute("LookAt"))
        camera.LookAt(element.GetAttribute("LookAt")->GetValue<CVector>());
}

} // namespace

void CLandingCamera::SetLandingCamera(const xml::CNodePtr& element)
{
    ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
    if (!camera || !element)
        return;
    PlaceCamera(*camera, *element);
    // A force-field scene's camera gives only its position: the view stays as it is.
    if (!element->HasAttribute("Type"))
        return;
    camera->SetMode(GetEventCode(element->GetAttribute("Type")->GetValue()));
    PlaceCamera(*camera, *element);
}

} // namespace sds
