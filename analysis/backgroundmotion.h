#pragma once

#include "model/modelparameters.h"
#include "model/motionmodel.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// What one computation gave: the motion, or why there is none.
struct ComputedMotion
{
    enum Outcome { Done, TooLarge, OutOfMemory };
    ModelParameters Parameters;
    Outcome Result = Done;
    std::shared_ptr<const MotionModel> Motion; // with a result when Done
    ComputationRefusal Refusal; // when TooLarge
};

// Computes motions on a worker thread, the newest request only: a request
// cancels the computation still running for an older one, so that a slider
// moved on never waits for a motion nobody will see.
class BackgroundMotion : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundMotion(QObject *parent = nullptr);
    ~BackgroundMotion() override; // cancels and waits for the worker

    void Request(const ModelParameters &parameters);
    // Whether a request has not been answered yet.
    bool Busy() const;

    // The computation of parameters as the main window does it.
    static ComputedMotion Compute(
        const ModelParameters &parameters, const ComputationProgress &progress = {});

signals:
    // The newest request's motion, on the thread that made the object.
    void Computed(const ComputedMotion &motion);

private:
    void work();

    mutable std::mutex m_mutex; // guards m_pending and m_stopping
    std::condition_variable m_wake;
    std::optional<ModelParameters> m_pending;
    bool m_stopping = false;
    // Counts the requests; a computation whose number is not the last is stale.
    std::atomic<std::uint64_t> m_generation { 0 };
    std::uint64_t m_answered = 0; // the last generation delivered, on the owner's thread
    std::thread m_worker;
};
