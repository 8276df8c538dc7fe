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
#include <utility>

// What one computation gave: the motion, or why there is none.
struct ComputedMotion
{
    enum Outcome { Done, TooLarge, OutOfMemory };
    ModelParameters Parameters;
    Outcome Result = Done;
    std::shared_ptr<const MotionModel> Motion; // with a result when Done
    ComputationRefusal Refusal; // when TooLarge
};

// Computes motions on a worker thread, one at a time. A request made while
// one runs waits, and a newer request replaces it before it starts: a slider
// moved faster than the computation still gets a curve at the end of each
// computation, and the last one is the hand's last value. A costly
// computation (more than a few milliseconds) starts at most 25 times a second.
class BackgroundMotion : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundMotion(QObject *parent = nullptr);
    ~BackgroundMotion() override; // cancels the computation running and waits for the worker

    void Request(const ModelParameters &parameters);
    // Whether a request has not been answered yet.
    bool Busy() const;

    // The computation of parameters as the main window does it.
    static ComputedMotion Compute(
        const ModelParameters &parameters, const ComputationProgress &progress = {});

signals:
    // A computed request's motion, on the thread that made the object: each
    // one that was started, in the order of the requests.
    void Computed(const ComputedMotion &motion);

private:
    void work();

    mutable std::mutex m_mutex; // guards m_pending and m_stopping
    std::condition_variable m_wake;
    // The newest request not started yet, with its number.
    std::optional<std::pair<ModelParameters, std::uint64_t>> m_pending;
    std::atomic<bool> m_stopping = false;
    // On the owner's thread: the number of the last request and of the last answered.
    std::uint64_t m_requested = 0;
    std::uint64_t m_answered = 0;
    std::thread m_worker;
};
