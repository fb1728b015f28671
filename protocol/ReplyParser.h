// Turns one reply line of the device into DeviceState changes and page calls, runs the model
// check and starts the synchronisation burst. Keeps no state between lines. GUI thread only.
#pragma once

#include <QString>

class ReplyPages;

// One received line, CR included (the link cuts lines after the CR).
void ParseReplyLine(ReplyPages &pages, const QString &line);
// The same for the line's Latin-1 bytes. Never reads outside [bytes, bytes + length).
void ParseReplyBytes(ReplyPages &pages, const char *bytes, int length);
// What every page reads after a confirmation, a scene load, a silent reconnect or a factory
// reset, in this order: routes, every input and output, the shown output's multiview state, the
// wall, the link settings. Queues no end mark.
void RequestEveryPage(ReplyPages &pages);
