#pragma once

#include <QPointer>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <stdexcept>

class QLocalServer;
class QObject;
class QWidget;

namespace platform {

// Raised when the instance block can be neither created nor opened; what() is the system's error text.
class InstanceBlockError : public std::runtime_error
{
public:
    explicit InstanceBlockError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// Identity of the block shared by the copies started from one program file: the file's full path
// with every '/' removed, everything else kept as it is.
QString instanceBlockName(const QString& programPath);
// The block name of the running program file.
QString currentProgramBlockName();
// The private per-user folder that holds the blocks and the raise sockets: $XDG_RUNTIME_DIR when
// it is a usable folder of this user, else /tmp/velora-guard-<uid> (mode 700, created on demand).
// Throws InstanceBlockError when neither can be had.
QString instanceGuardFolder();

// Lets a limited number of copies of a program run at once, and lets a refused copy ask the
// registered one to come to the front.
//
// The 8-byte block (window handle, then the signed count, little-endian) is a file in the guard
// folder. Check-and-register runs under a lock on the block, so copies started at the same
// instant are admitted one at a time. Each registered copy holds a lock on a slot of its own
// that the kernel drops when the copy ends however it ends, so the count is taken from the live
// slots and a crashed copy never blocks a later start. At most 64 copies are told apart.
class InstanceGuard
{
public:
    explicit InstanceGuard(QString blockName, QString folder = instanceGuardFolder());
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // Returns true when maxInstances copies already run: this copy is refused, changes nothing
    // and asks the copy whose handle the block holds to raise its window. Returns false when this
    // copy is now registered with windowHandle, which must tell the live copies apart (the
    // process id). Throws InstanceBlockError when the block cannot be created.
    bool check(quint32 windowHandle, int maxInstances);
    // Gives up the registration; does nothing for a refused or unchecked copy.
    void release();

    bool isRegistered() const { return m_slot >= 0; }
    // The stored count; 0 when the block has never been written.
    qint32 instanceCount() const;

    // Once registered, calls raiseWindow whenever a refused copy asks; the listener belongs to
    // parent. Returns false when not registered or when the listener cannot be set up.
    bool listenForRaiseRequests(std::function<void()> raiseWindow, QObject* parent);

private:
    QString socketPath(quint32 windowHandle) const;
    void askToRaise(quint32 windowHandle) const;

    QString m_filePrefix;
    int m_fd = -1;
    int m_slot = -1;
    quint32 m_windowHandle = 0;
    QPointer<QLocalServer> m_listener;
};

// Process-wide guard on the running program file's block. CheckPreviousInstance returns true
// when this copy must end at once; ReleaseInstance runs once at every program end.
bool CheckPreviousInstance(quint32 windowHandle, int maxInstances);
void ReleaseInstance();
// Starts answering refused copies once the application exists; returns false if not registered.
bool ListenForRaiseRequests(std::function<void()> raiseWindow, QObject* parent);

// Restores window if it is minimized (keeping it maximized if it was), raises and activates it.
void bringWindowToFront(QWidget* window);

} // namespace platform
