#include "pages/Ui_System.h"

#include "link/LinkMode.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"

Ui_System::Ui_System(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_System::Retranslate(bool firstTime, bool noRebuild)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(firstTime)
    Q_UNUSED(noRebuild)
}

void Ui_System::Rebuild()
{
    // The firmware selector and the network fields come with the page itself.
}

void Ui_System::ReadLinkSettings()
{
    if (LinkMode == LinkModeTcp) {
        systemQueryPending = true;
        CmdGetNetworkInfo();
        emit SGL_UpdateEmit();
    } else if (LinkMode == LinkModeSerial) {
        systemQueryPending = true;
        CmdGetBaudrate();
        // A second kick while the line is in flight changes nothing.
        emit SGL_UpdateEmit();
        emit SGL_UpdateEmit();
    } else {
        emit SGL_UpdateEmit();
    }
}
