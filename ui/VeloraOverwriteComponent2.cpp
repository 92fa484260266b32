#include "VeloraOverwriteComponent2.h"

#include "VeloraFileBrowser.h"

void VeloraOverwriteComponent2::okButtonClicked()
{
    if (isShowingFailure())
        return hide();

    if (! overwritePreset())
        return;

    hide();

    if (auto* browser = dynamic_cast<VeloraFileBrowser*> (getParentComponent()))
        browser->hide();
}
