#include "analysis/backgroundmotion.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>

BackgroundMotion::BackgroundMotion(QObject *parent)
    : QObject(parent)
    , m_worker([this] { work(); })
{ }

BackgroundMotion::~BackgroundMotion()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void BackgroundMotion::Request(const ModelParameters &parameters)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending.emplace(parameters, ++m_requested);
    }
    m_wake.notify_one();
}

bool BackgroundMotion::Busy() const
{
    return m_answered != m_requested;
}

ComputedMotion BackgroundMotion::Compute(
    const ModelParameters &parameters, const ComputationProgress &progress)
{
    ComputedMotion computed;
    computed.Parameters = parameters;
    auto motion = std::make_shared<MotionModel>();
    try {
        motion->AllocateSeries(parameters);
        if (!motion->ComputeMotion(parameters, progress))
            return computed; // cancelled: nobody reads it
    } catch (const ComputationTooLarge &refused) {
        computed.Result = ComputedMotion::TooLarge;
        computed.Refusal = refused.Refusal();
        return computed;
    } catch (const std::bad_alloc &) {
        computed.Result = ComputedMotion::OutOfMemory;
        return computed;
    }
    computed.Motion = std::move(motion);
    return computed;
}

void BackgroundMotion::work()
{
    using Clock = std::chrono::steady_clock;
    // A costly computation starts at most this often: a dragged slider then
    // draws a film's frames rather than one curve per move, each of which
    // would take the window's thread as long again to paint.
    constexpr auto FrameInterval = std::chrono::milliseconds(40);
    constexpr int IntervalPerComputation = 5;
    Clock::time_point nextStart;
    for (;;) {
        std::pair<ModelParameters, std::uint64_t> request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_pending; });
            // Requests made meanwhile replace the one waiting.
            m_wake.wait_until(lock, nextStart, [this] { return m_stopping.load(); });
            if (m_stopping)
                return;
            request = *std::exchange(m_pending, std::nullopt);
        }
        const Clock::time_point start = Clock::now();
        ComputedMotion computed = Compute(
            request.first, [this](std::int64_t, std::int64_t) { return !m_stopping.load(); });
        nextStart = start
            + std::min<Clock::duration>(
                FrameInterval, IntervalPerComputation * (Clock::now() - start));
        if (m_stopping)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, number = request.second, computed = std::move(computed)] {
                m_answered = number;
                emit Computed(computed);
            },
            Qt::QueuedConnection);
    }
}
