#include "livefilerules.h"

namespace dvw {

LiveFileAction DecideLiveFile(const LiveFileFacts &facts)
{
    if (facts.modalStep)
        return LiveFileAction::Wait;
    if (!facts.onDisk)
        return facts.goneReported ? LiveFileAction::Nothing : LiveFileAction::ReportGone;
    if (facts.onDisk == facts.known || facts.onDisk == facts.keptOver)
        return LiveFileAction::Nothing;
    return facts.unsavedChanges ? LiveFileAction::OfferReload : LiveFileAction::Reload;
}

} // namespace dvw
