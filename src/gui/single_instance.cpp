#include "gui/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace vantu::gui {

namespace {

QString DefaultName() {
  const QByteArray home = qgetenv("VANTU_HOME");
  const QByteArray tag = QByteArray::number(static_cast<qulonglong>(::getuid())) + ":" + home;
  const QByteArray hash = QCryptographicHash::hash(tag, QCryptographicHash::Sha1).toHex().left(12);
  return QStringLiteral("vantu-") + QString::fromLatin1(hash);
}

constexpr int kWaitMs = 1000;

}  // namespace

SingleInstance::SingleInstance(QString name) : name_(name.isEmpty() ? DefaultName() : name) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::SignalRunning() const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kWaitMs)) return false;
  socket.write("raise\n");
  socket.waitForBytesWritten(kWaitMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Acquire() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
  lock_ = std::make_unique<QLockFile>(QDir(dir).filePath(name_ + QStringLiteral(".lock")));
  lock_->setStaleLockTime(0);  // a lock whose process died is taken over
  if (!lock_->tryLock(100)) {
    SignalRunning();
    return false;
  }
  QLocalServer::removeServer(name_);  // left over by a copy that crashed
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
    while (QLocalSocket* peer = server_->nextPendingConnection()) {
      QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      if (raise_) raise_();
    }
  });
  server_->listen(name_);
  return true;
}

}  // namespace vantu::gui
