// Process-wide settings, bound to their keys by the settings table.
#pragma once

#include <QString>

extern QString Key_LanguageIsEnglish;
extern QString Key_UI_Login;
extern QString Key_UI_Matrix;
extern QString Key_UI_SignalConfig;
extern QString Key_UI_Multiview;
extern QString Key_UI_TV_Wall;
extern QString Key_UI_System;
extern QString Spassword_Admin;
extern QString Spassword_User;
extern QString SP_Name;
extern QString SP_BaudRate;
extern QString SP_DataBit;
extern QString SP_Parity;
extern QString SP_StopBit;
extern QString SP_FlowControl;
extern QString SP_RemoteIp;
extern QString SP_RemotePort;
extern QString SP_RemoteSubmask;
extern QString SP_RemoteGateway;
extern QString SItem_Default_BG;
extern QString SItem_Default_FG;
extern QString SItem_Splicing_BG;
extern QString SItem_Splicing_FG;
extern QString SItem_Splicing_Frame;
extern QString SItem_Splicing_HighLight;
extern QString SItem_Splicing_SingleExit_Frame;
extern QString SItem_Splicing_SingleExit_HighLight;
