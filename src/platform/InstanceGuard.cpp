#include "platform/InstanceGuard.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>
#include <QWidget>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr off_t kBlockSize = 8;
constexpr int kSlotCount = 64;
constexpr char kRaiseRequest[] = "raise\n";
// "/velora-" + SHA-1 hex + "-" + the largest 32-bit handle + ".sock"
constexpr qsizetype kLongestSocketName = 8 + 40 + 1 + 10 + 5;

QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool fitsSocketAddress(const QByteArray& path)
{
    return path.size() < qsizetype(sizeof(sockaddr_un::sun_path));
}

// Open-file-description locks: they belong to the guard's own descriptor, so they conflict even
// between guards of one process, and closing some other descriptor of the file keeps them.
struct flock lockRange(short type, off_t start, off_t length)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    return lock;
}

bool setLock(int fd, short type, off_t start, off_t length, bool wait)
{
    struct flock lock = lockRange(type, start, length);
    int result;
    do {
        result = ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
    } while (result == -1 && errno == EINTR);
    return result == 0;
}

off_t slotOffset(int slot)
{
    return kBlockSize + slot;
}

// Holds the block's own bytes locked, which admits one copy at a time to check-and-register.
class SerialisedAccess
{
public:
    explicit SerialisedAccess(int fd) : m_fd(fd), m_held(setLock(fd, F_WRLCK, 0, kBlockSize, true)) {}
    ~SerialisedAccess() { unlock(); }
    SerialisedAccess(const SerialisedAccess&) = delete;
    SerialisedAccess& operator=(const SerialisedAccess&) = delete;

    bool held() const { return m_held; }
    void unlock()
    {
        if (m_held)
            setLock(m_fd, F_UNLCK, 0, kBlockSize, false);
        m_held = false;
    }

private:
    int m_fd;
    bool m_held;
};

struct LiveSlots
{
    int count = 0;
    int firstFree = -1;
};

// Slots locked through other descriptors belong to copies that still run.
LiveSlots liveSlots(int fd)
{
    LiveSlots live;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        struct flock lock = lockRange(F_WRLCK, slotOffset(slot), 1);
        if (::fcntl(fd, F_OFD_GETLK, &lock) == -1)
            throw InstanceBlockError(systemErrorText(errno));
        if (lock.l_type != F_UNLCK)
            ++live.count;
        else if (live.firstFree < 0)
            live.firstFree = slot;
    }
    return live;
}

struct BlockFields
{
    quint32 windowHandle = 0;
    qint32 instanceCount = 0;
};

BlockFields readBlock(int fd)
{
    uchar bytes[kBlockSize] = {};
    if (::pread(fd, bytes, sizeof bytes, 0) != qsizetype(sizeof bytes))
        return {};
    return {qFromLittleEndian<quint32>(bytes), qFromLittleEndian<qint32>(bytes + 4)};
}

bool writeBlock(int fd, const BlockFields& fields)
{
    uchar bytes[kBlockSize];
    qToLittleEndian(fields.windowHandle, bytes);
    qToLittleEndian(fields.instanceCount, bytes + 4);
    return ::pwrite(fd, bytes, sizeof bytes, 0) == qsizetype(sizeof bytes);
}

bool isUsableRuntimeFolder(const QByteArray& path)
{
    struct stat info;
    return path.startsWith('/') && ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0 &&
           ::access(path.constData(), W_OK | X_OK) == 0 &&
           fitsSocketAddress(path + QByteArray(kLongestSocketName, 'x'));
}

// The fallback sits in a folder every user can write to: only a real folder of our own will do.
QString privateTempFolder()
{
    const QByteArray path = "/tmp/velora-guard-" + QByteArray::number(::geteuid());
    if (::mkdir(path.constData(), 0700) == 0)
        ::chmod(path.constData(), 0700);
    else if (errno != EEXIST)
        throw InstanceBlockError(systemErrorText(errno));
    struct stat info;
    if (::lstat(path.constData(), &info) == -1)
        throw InstanceBlockError(systemErrorText(errno));
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        throw InstanceBlockError(
            QStringLiteral("%1 is not a private folder of this user").arg(QFile::decodeName(path)));
    return QFile::decodeName(path);
}

} // namespace

QString instanceBlockName(const QString& programPath)
{
    return QString(programPath).remove(QLatin1Char('/'));
}

QString currentProgramBlockName()
{
    char path[PATH_MAX + 1];
    const ssize_t length = ::readlink("/proc/self/exe", path, PATH_MAX);
    if (length == -1)
        throw InstanceBlockError(systemErrorText(errno));
    return instanceBlockName(QFile::decodeName(QByteArray(path, length)));
}

QString instanceGuardFolder()
{
    const QByteArray runtimeFolder = qgetenv("XDG_RUNTIME_DIR");
    if (isUsableRuntimeFolder(runtimeFolder))
        return QFile::decodeName(runtimeFolder);
    return privateTempFolder();
}

InstanceGuard::InstanceGuard(QString blockName, QString folder)
    : m_filePrefix(
          folder + QStringLiteral("/velora-") +
          QString::fromLatin1(QCryptographicHash::hash(blockName.toUtf8(), QCryptographicHash::Sha1).toHex()))
{
}

InstanceGuard::~InstanceGuard()
{
    release();
}

bool InstanceGuard::check(quint32 windowHandle, int maxInstances)
{
    if (isRegistered())
        return false;
    if (m_fd < 0) {
        const QByteArray path = QFile::encodeName(m_filePrefix + QStringLiteral(".block"));
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd == -1 && errno == EEXIST) {
            m_fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
            if (m_fd == -1)
                return true; // a block that is there but not ours to open: refused, silently
        }
        if (m_fd == -1)
            throw InstanceBlockError(systemErrorText(errno));
    }

    SerialisedAccess serialised(m_fd);
    if (!serialised.held())
        throw InstanceBlockError(systemErrorText(errno));
    const LiveSlots live = liveSlots(m_fd);
    const BlockFields stored = readBlock(m_fd);
    if (live.count < maxInstances && live.firstFree >= 0 &&
        setLock(m_fd, F_WRLCK, slotOffset(live.firstFree), 1, false)) {
        if (!writeBlock(m_fd, {windowHandle, live.count + 1})) {
            const int error = errno;
            setLock(m_fd, F_UNLCK, slotOffset(live.firstFree), 1, false);
            throw InstanceBlockError(systemErrorText(error));
        }
        // No copy is left to answer on a socket of a crashed one.
        if (live.count == 0 && stored.windowHandle != 0 && stored.windowHandle != windowHandle)
            QFile::remove(socketPath(stored.windowHandle));
        m_slot = live.firstFree;
        m_windowHandle = windowHandle;
        return false;
    }
    serialised.unlock();
    askToRaise(stored.windowHandle);
    return true;
}

void InstanceGuard::release()
{
    delete m_listener.data();
    if (isRegistered()) {
        SerialisedAccess serialised(m_fd);
        setLock(m_fd, F_UNLCK, slotOffset(m_slot), 1, false);
        m_slot = -1;
        try {
            BlockFields fields = readBlock(m_fd);
            fields.instanceCount = liveSlots(m_fd).count;
            writeBlock(m_fd, fields);
        } catch (const InstanceBlockError&) {
            // The next check counts the live copies afresh.
        }
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

qint32 InstanceGuard::instanceCount() const
{
    QFile block(m_filePrefix + QStringLiteral(".block"));
    if (!block.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = block.read(kBlockSize);
    return bytes.size() == kBlockSize ? qFromLittleEndian<qint32>(bytes.constData() + 4) : 0;
}

bool InstanceGuard::listenForRaiseRequests(std::function<void()> raiseWindow, QObject* parent)
{
    if (!isRegistered())
        return false;
    delete m_listener.data();
    auto listener = std::make_unique<QLocalServer>(parent);
    const QString path = socketPath(m_windowHandle);
    QLocalServer::removeServer(path);
    if (!listener->listen(path))
        return false;
    QLocalServer* server = listener.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, raiseWindow] {
        while (QLocalSocket* peer = server->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            const auto answer = [peer, raiseWindow] {
                if (!peer->canReadLine())
                    return;
                const bool asked = peer->readLine(64) == kRaiseRequest;
                peer->disconnectFromServer();
                if (asked)
                    raiseWindow();
            };
            QObject::connect(peer, &QLocalSocket::readyRead, peer, answer);
            answer();
        }
    });
    m_listener = listener.release();
    return true;
}

QString InstanceGuard::socketPath(quint32 windowHandle) const
{
    return m_filePrefix + QLatin1Char('-') + QString::number(windowHandle) + QStringLiteral(".sock");
}

// Needs no application object: a refused copy ends before one exists.
void InstanceGuard::askToRaise(quint32 windowHandle) const
{
    const QByteArray path = QFile::encodeName(socketPath(windowHandle));
    if (windowHandle == 0 || !fitsSocketAddress(path))
        return;
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd == -1)
        return;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        // Unanswered, the other copy just stays where it is: nothing to report.
        [[maybe_unused]] const ssize_t sent =
            ::send(fd, kRaiseRequest, sizeof kRaiseRequest - 1, MSG_NOSIGNAL);
    }
    ::close(fd);
}

namespace {

std::unique_ptr<InstanceGuard>& processGuard()
{
    static std::unique_ptr<InstanceGuard> guard;
    return guard;
}

} // namespace

bool CheckPreviousInstance(quint32 windowHandle, int maxInstances)
{
    processGuard() = std::make_unique<InstanceGuard>(currentProgramBlockName());
    return processGuard()->check(windowHandle, maxInstances);
}

void ReleaseInstance()
{
    processGuard().reset();
}

bool ListenForRaiseRequests(std::function<void()> raiseWindow, QObject* parent)
{
    return processGuard() && processGuard()->listenForRaiseRequests(std::move(raiseWindow), parent);
}

void bringWindowToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

} // namespace platform
