#include "settings/SettingsTexts.h"

// Compiled-in defaults; config.ini overrides them at start-up.

QString Key_LanguageIsEnglish = QStringLiteral("1");
QString Key_UI_Login = QStringLiteral("1");
QString Key_UI_Matrix = QStringLiteral("1");
QString Key_UI_SignalConfig = QStringLiteral("1");
QString Key_UI_Multiview = QStringLiteral("1");
QString Key_UI_TV_Wall = QStringLiteral("1");
QString Key_UI_System = QStringLiteral("1");
QString Spassword_Admin = QStringLiteral("582037");
QString Spassword_User = QStringLiteral("582037");
QString SP_Name = QStringLiteral("COM1");
QString SP_BaudRate = QStringLiteral("9600");
QString SP_DataBit = QStringLiteral("8");
QString SP_Parity = QStringLiteral("0");
QString SP_StopBit = QStringLiteral("1");
QString SP_FlowControl = QStringLiteral("0");
QString SP_RemoteIp = QStringLiteral("192.168.0.247");
QString SP_RemotePort = QStringLiteral("2000");
QString SP_RemoteSubmask = QStringLiteral("255.255.255.0");
QString SP_RemoteGateway = QStringLiteral("192.168.0.1");
QString SItem_Default_BG = QStringLiteral("128,128,128,255");
QString SItem_Default_FG = QStringLiteral("255,0,0,255");
QString SItem_Splicing_BG = QStringLiteral("0,255,0,255");
QString SItem_Splicing_FG = QStringLiteral("255,255,0,255");
QString SItem_Splicing_Frame = QStringLiteral("0,0,255,255");
QString SItem_Splicing_HighLight = QStringLiteral("255,0,0,255");
QString SItem_Splicing_SingleExit_Frame = QStringLiteral("0,255,255,255");
QString SItem_Splicing_SingleExit_HighLight = QStringLiteral("255,0,0,255");
