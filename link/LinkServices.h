// The process-wide link services and their worker threads. They are created during static
// initialisation, before main runs, and never destroyed, so no exit-time destructor can run
// while a worker thread still uses them. Do not use them from other static initialisers.
#pragma once

class QString;
class QThread;
class ServiceSerialPort;
class ServiceTcpClient;

extern ServiceSerialPort *const g_ServiceSerialPort;
extern QThread *const g_ThreadSerialPort;
extern ServiceTcpClient *const g_ServiceTcpClient;
extern QThread *const g_ThreadTcpClient;

// Moves each service into its worker thread and connects the thread's finished() to the
// service's disconnect slot, so that a link always closes in its own thread as the thread
// ends. Call from the thread that created them (the main thread) while the threads are not
// running; calling it again changes nothing.
void MoveLinkServicesToThreads();

// Ends a link thread the way the connection page does (the link closes in the thread on its
// way out) and waits up to waitMs for it; true when it has finished. The caller then sees
// everything the thread did, also for ThreadSanitizer, which cannot follow QThread::wait.
bool StopLinkThread(QThread *thread, int waitMs);

// Makes the link services' signal argument types usable in queued connections.
void RegisterLinkMetaTypes();

// Tells the service of the selected link, in its worker thread, that the operator was told
// the reply to this line did not come. Nothing when no link is selected. The line goes through a
// mailbox under a std::mutex, and the queued call carries nothing, so that ThreadSanitizer sees
// the hand-over that Qt's event queue makes without telling it.
void StopAwaitingReplyOnSelectedLink(const QString &cmd);
