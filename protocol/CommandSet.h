// Command builders: one per device request. Each checks its arguments against DeviceState,
// formats one line and its expected reply text, and queues both on the link that LinkMode
// selects, or queues nothing. Builders run on the GUI thread and emit nothing; the caller kicks
// the link afterwards (its SGL_UpdateEmit).
//
// Argument conventions: i is a 0-based input, o a 0-based output, p a 0-based port, w a
// 0-based window; a value argument is a 0-based index into the named value word list. A value
// index outside its list sends nothing.
#pragma once

#include "link/ReplyExpectation.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Longest command text (without the CR) that may be sent.
constexpr int MaxCommandLength = 1024;

// The reply profiles the builders attach.
enum class ReplyProfile { Standard, Silent, Wall, NoReply };
ReplyExpectation MakeReplyExpectation(const char *expected, int length, ReplyProfile profile);

// Appends the CR and pushes the line into the selected link's queue. Texts longer than
// MaxCommandLength and lines without a selected link are dropped silently; true when queued.
bool QueueCommandLine(const char *text, int length, ReplyExpectation expectation);

// Identification and synchronisation.
void CmdGetModelType();
void CmdGetSyncOver();

// Routing.
void CmdSetInputToAll(quint32 i);
void CmdSetRoute(quint32 i, quint32 o);
void CmdSetRouteList(quint32 i, const quint32 *outputs, quint32 count);
void CmdGetMatrixRoute();

// Signal configuration.
void CmdSetOutResolution(quint32 o, quint32 resolution); // OutResolutionWords
void CmdSetOutRotation(quint32 o, quint32 rotation); // RotationWords
void CmdSetOutHdcp(quint32 o, quint32 hdcp); // HdcpWords
void CmdSetInAudio(quint32 i, quint32 audio); // InAudioWords
void CmdSetAudioMute(quint32 o, quint32 onOff); // OnOffWords
void CmdSetFreeze(quint32 o, quint32 onOff); // OnOffWords
void CmdGetInInfo(quint32 i);
void CmdGetOutInfo(quint32 o);

// Multiview.
void CmdSetMultiviewMode(quint32 o, quint32 mode); // MultiviewModeWords
void CmdGetMultiviewSync(quint32 o);
void CmdSetAspect(quint32 o, quint32 aspect); // AspectWords; PBP, 3xWIN, 4xWIN only
void CmdSetLayout(quint32 o, int layoutNumber); // 1-based; PBP, 3xWIN, 4xWIN only
void CmdSetPipPos(quint32 o, quint32 position); // PipPosWords; PIP only
void CmdSetPipSize(quint32 o, quint32 size); // PipSizeWords; PIP only
void CmdSetUserWindow(quint32 o, int a, int b, int c, int d);
void CmdGetUserWindow(quint32 o);
void CmdSetWindowInput(quint32 o, quint32 w, quint32 input); // WindowWords, WindowInputWords
void CmdSetOutAudioSource(quint32 o, quint32 source); // AudioSourceWords
void CmdGetOutAudioSource(quint32 o);
void CmdSetVka(quint32 o, quint32 vka); // VkaWords
void CmdGetVka(quint32 o);
void CmdSetItc(quint32 o, quint32 onOff); // OnOffWords
void CmdGetItc(quint32 o);

// Query forms no page issues; kept for the console and the headless client.
void CmdGetOutResolution(quint32 o);
void CmdGetOutRotation(quint32 o);
void CmdGetOutHdcp(quint32 o);
void CmdGetMultiviewMode(quint32 o);
void CmdGetInAudio(quint32 i);
void CmdGetAspect(quint32 o);
void CmdGetLayout(quint32 o);
void CmdGetPipPos(quint32 o);
void CmdGetPipSize(quint32 o);
void CmdGetWindowInput(quint32 o, quint32 w);

// Scenes.
// 1-based; true when the command was queued.
bool CmdSaveScene(int sceneNumber);
bool CmdLoadScene(int sceneNumber);

// EDID.
void CmdSetEdidMode(quint32 i, quint32 mode); // EdidModeWords
void CmdGetEdidMode(quint32 i);
// Sends nothing unless the block is exactly 256 bytes.
void CmdSetUserEdid(quint32 i, const QByteArray &edid);
void CmdGetOutportEdid(quint32 o);

// Video wall, from DeviceState.wall.
void CmdSetWallPort(quint32 cell);
void CmdSetTvWallInfo(quint32 cellCount);
// The same from a wall that is being written and is not the device's yet; true when a line
// was queued.
struct WallState;
bool CmdSetWallPort(const WallState &wall, quint32 cell);
bool CmdSetTvWallInfo(const WallState &wall, quint32 cellCount);
void CmdGetTvWallInfo();

// System.
void CmdReset();
enum VersionSelector : quint32 { VersionMain = 0, VersionKeyboard = 1, VersionInput = 2, VersionOutput = 3 };
void CmdGetVersion(quint32 selector, quint32 p);
// Texts with control characters are refused: a CR inside would start a second command.
void CmdSetNetworkInfo(const QString &ip, const QString &port, const QString &mask, const QString &gateway);
void CmdGetNetworkInfo();
void CmdSetBaudrate(int baudrate);
void CmdGetBaudrate();
