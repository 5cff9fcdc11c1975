#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

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

    // True when this process is now the running instance and listens for requests. A lock or
    // socket left by a crashed instance is taken over.
    bool claim();

    enum class HandOff { Delivered, NoInstance };
    // From a second start: send the path and block until the running instance has handled it.
    HandOff sendOpenRequest(const QString& path);

    // Called for every request that arrives; the result goes back to the sender.
    void setOpenHandler(std::function<bool(const QString&)> handler);

    QString lockPath() const;
    QString socketPath() const;

  private:
    void onNewConnection();

    QString runtimeDir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<bool(const QString&)> handler_;
};

// The command line's path with every double quote removed, spaces kept.
QString pathFromCommandLine(const QStringList& arguments);

}  // namespace rek
