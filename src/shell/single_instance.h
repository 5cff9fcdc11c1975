#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace rek {

// One running instance per user. The first start holds a lock file and listens on a local
// socket beside it; a second start hands its file path over that socket and waits until the
// first instance has dealt with it (save question and load included).
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `runtimeDir` holds the lock and the socket; tests pass a folder of their own.
    explicit SingleInstance(QString runtimeDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR, or a private folder under the temporary folder when it is unset.
    static QString defaultRuntimeDir();

    // True when this process is now the running instance (it holds the lock) and listens for
    // requests where a socket can be made. A lock or socket left by a crashed instance is taken
    // over.
    bool claim();

    enum class HandOff { Delivered, NoInstance };
    // From a second start: send the path (the file system's bytes, passed on as they are) and
    // block until the running instance has handled it.
    HandOff sendOpenRequest(const std::string& path);

    // Called for every request that arrives; the result goes back to the sender. Requests that
    // came before there was a handler wait for it.
    void setOpenHandler(std::function<bool(const std::string&)> handler);

    QString lockPath() const;
    QString socketPath() const;

  private:
    void onNewConnection();
    void serve(QLocalSocket* socket);

    QString runtimeDir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<bool(const std::string&)> handler_;
};

}  // namespace rek
