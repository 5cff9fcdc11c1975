#pragma once

#include <QObject>
#include <stop_token>

#include "export/export_engine.h"
#include "export/export_job.h"
#include "export/export_plan.h"

class QThread;

namespace rek {

// Runs one export at a time on a worker thread of its own, so that the thread that owns the
// runner (the dialogs': the GUI thread) goes on handling its events. The signals reach the
// owner's thread queued, in the order the export reported them; finished() comes last.
class ExportRunner : public QObject {
    Q_OBJECT

  public:
    explicit ExportRunner(QObject* parent = nullptr);
    // Asks a running export to stop and waits for it to end.
    ~ExportRunner() override;

    // What runs the plans (runExport unless replaced); takes effect at the next start.
    void setEngine(ExportEngine engine) { engine_ = std::move(engine); }
    // Starts the plan's export; false while another one runs.
    bool start(ExportPlan plan);
    bool isRunning() const { return thread_ != nullptr; }
    // Asks the running export to stop at its next frame; it then finishes as Cancelled.
    void requestStop();
    // What the last export returned, from the emission of finished() on.
    const ExportOutcome& outcome() const { return outcome_; }

  signals:
    void stageChanged(rek::ExportStage stage);
    void frameCountKnown(quint64 frames);
    void frameDone(quint64 done);
    void finished();

  private:
    class Relay;
    void onThreadFinished();

    ExportEngine engine_ = runExport;
    QThread* thread_ = nullptr;
    std::stop_source stop_;
    ExportOutcome outcome_;  // written by the worker, read once it has ended
};

}  // namespace rek
