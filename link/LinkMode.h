// The link the operator selected: every pusher chooses its queue by it.
#pragma once

enum : int { LinkModeNone = 0, LinkModeSerial = 1, LinkModeTcp = 2 };

// Written only by the connection page (and the headless client, which plays its role).
extern int LinkMode;
