#include "featureservices.h"

#include "shell/dvwapp.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "tdeldialog.h"

#include <QDialog>

namespace dvw {

namespace {

bool runWindowModal(QDialog &dialog)
{
    dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

FeatureServices completeServices(TDVDecoratedMDIFrame &frame, FeatureServices services)
{
    if (!services.beeper)
        services.beeper = std::make_shared<SystemBeeper>();
    if (!services.clipboard)
        services.clipboard = SystemEntryClipboard();
    if (!services.runDialog)
        services.runDialog = runWindowModal;
    if (!services.chooseScope)
        services.chooseScope = &TDelDialog::ask;
    if (services.prompter == nullptr)
        services.prompter = &frame.app().prompter();
    return services;
}

} // namespace dvw
