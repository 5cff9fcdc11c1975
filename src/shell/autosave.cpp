#include "shell/autosave.h"

#include <unistd.h>
#include <QDateTime>
#include <algorithm>
#include <new>

#include "model/model_file.h"

namespace rek {

namespace {

constexpr std::chrono::milliseconds kShortestInterval{50};
constexpr std::chrono::milliseconds kLongestInterval{24 * 60 * 60 * 1000};

}  // namespace

// --- CopiedDocument ------------------------------------------------------------------------------

CopiedDocument::CopiedDocument(const Model& model)
    : properties_(model.properties), path_(model.filePath) {
    coordinates_.reserve(model.vertices.size() * 2);
    kinds_.reserve(model.vertices.size());
    for (const Vertex& vertex : model.vertices) {
        coordinates_.push_back(vertex.x);
        coordinates_.push_back(vertex.y);
        kinds_.push_back(vertex.kind);
    }
}

bool CopiedDocument::sameAs(const Model& model) const {
    if (model.properties != properties_ || model.filePath != path_ ||
        model.vertices.size() != kinds_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
        const Vertex& vertex = model.vertices[i];
        if (vertex.x != coordinates_[2 * i] || vertex.y != coordinates_[2 * i + 1] ||
            vertex.kind != kinds_[i]) {
            return false;
        }
    }
    return true;
}

// --- RecoveryWriter ------------------------------------------------------------------------------

RecoveryWriter::RecoveryWriter(RecoveryStore& store) : store_(store), thread_([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RecoveryWriter::write(std::vector<std::uint8_t> modelFile, RecoveryRecord record) {
    {
        std::lock_guard lock(mutex_);
        std::erase_if(jobs_, [](const Job& job) { return !job.remove; });
        jobs_.push_back(Job{false, std::move(modelFile), std::move(record)});
    }
    wake_.notify_one();
}

void RecoveryWriter::remove() {
    {
        std::lock_guard lock(mutex_);
        std::erase_if(jobs_, [](const Job& job) { return !job.remove; });
        jobs_.push_back(Job{true, {}, {}});
    }
    wake_.notify_one();
}

bool RecoveryWriter::wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    return lastWriteOk_;
}

void RecoveryWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            if (stopping_)
                return;
            continue;
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        bool written = true;
        if (job.remove)
            store_.removeOwnCopy();
        else
            written = store_.writeOwnCopy(job.modelFile, job.record);
        lock.lock();
        busy_ = false;
        if (!job.remove) {
            lastWriteOk_ = written;
            if (!written)
                failed_ = true;
        }
        if (jobs_.empty())
            idle_.notify_all();
    }
}

// --- Autosave ------------------------------------------------------------------------------------

std::chrono::milliseconds Autosave::intervalFromEnvironment() {
    bool ok = false;
    const long long value = qEnvironmentVariable(kIntervalVariable).toLongLong(&ok);
    if (!ok || value <= 0)
        return kDefaultInterval;
    return std::clamp(std::chrono::milliseconds(value), kShortestInterval, kLongestInterval);
}

Autosave::Autosave(Editor& editor, RecoveryStore& store, QObject* parent)
    : QObject(parent), editor_(editor), store_(store), writer_(store) {
    connect(&timer_, &QTimer::timeout, this, &Autosave::tick);
    connect(&editor_, &Editor::changed, this, &Autosave::onEditorChanged);
}

Autosave::~Autosave() = default;

void Autosave::start(std::chrono::milliseconds interval) {
    timer_.start(interval);
}

void Autosave::stop() {
    timer_.stop();
}

void Autosave::tick() {
    const Model& model = editor_.model();
    if (writer_.takeFailure())
        copied_.reset();  // try again
    if (!model.modified || (copied_ && copied_->sameAs(model)))
        return;
    try {
        CopiedDocument copied(model);
        RecoveryRecord record{model.filePath, QDateTime::currentMSecsSinceEpoch(), ::getpid()};
        writer_.write(encodeModelFile(model), std::move(record));
        copied_ = std::move(copied);
    } catch (const std::bad_alloc&) {
        // No memory for the copy now; the next tick tries again.
    }
}

bool Autosave::writeNow() {
    tick();
    return writer_.wait() || !editor_.model().modified;
}

void Autosave::removeCopy() {
    writer_.remove();
    writer_.wait();
    copied_.reset();
}

void Autosave::onEditorChanged() {
    if (copied_ && !editor_.model().modified) {
        writer_.remove();
        copied_.reset();
    }
}

}  // namespace rek
