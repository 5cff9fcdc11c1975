#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace rek {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal, so a session logout or `kill` ends the
// program through its normal close flow (and Config.dat is written).
class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void terminationRequested();

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace rek
