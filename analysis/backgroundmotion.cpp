#include "analysis/backgroundmotion.h"

#include <QMetaObject>

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
    for (;;) {
        std::pair<ModelParameters, std::uint64_t> request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_pending; });
            if (m_stopping)
                return;
            request = *std::exchange(m_pending, std::nullopt);
        }
        ComputedMotion computed = Compute(
            request.first, [this](std::int64_t, std::int64_t) { return !m_stopping.load(); });
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
