#include "export/export_runner.h"

#include <QThread>
#include <utility>

namespace rek {

// Passes the engine's reports on as the runner's signals, emitted on the worker thread.
class ExportRunner::Relay : public ExportProgress {
  public:
    explicit Relay(ExportRunner& runner) : runner_(runner) {}
    void stageChanged(ExportStage stage) override { emit runner_.stageChanged(stage); }
    void frameCountKnown(std::uint64_t frames) override { emit runner_.frameCountKnown(frames); }
    void frameDone(std::uint64_t done) override { emit runner_.frameDone(done); }

  private:
    ExportRunner& runner_;
};

ExportRunner::ExportRunner(QObject* parent) : QObject(parent) {}

ExportRunner::~ExportRunner() {
    if (thread_ != nullptr) {
        stop_.request_stop();
        thread_->wait();
        delete thread_;
    }
}

bool ExportRunner::start(ExportPlan plan) {
    if (thread_ != nullptr)
        return false;
    stop_ = std::stop_source();
    outcome_ = ExportOutcome{};
    thread_ =
        QThread::create([this, engine = engine_, plan = std::move(plan), stop = stop_.get_token()] {
            Relay relay(*this);
            outcome_ = engine(plan, relay, stop);
        });
    // Emitted on the worker as it ends, so delivered here after everything it reported.
    connect(thread_, &QThread::finished, this, &ExportRunner::onThreadFinished);
    thread_->start();
    return true;
}

void ExportRunner::requestStop() {
    stop_.request_stop();
}

void ExportRunner::onThreadFinished() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished();
}

}  // namespace rek
