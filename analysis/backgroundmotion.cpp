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
    ++m_generation; // cancels the computation running
    m_wake.notify_one();
    m_worker.join();
}

void BackgroundMotion::Request(const ModelParameters &parameters)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending = parameters;
        ++m_generation;
    }
    m_wake.notify_one();
}

bool BackgroundMotion::Busy() const
{
    return m_answered != m_generation.load();
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
        ModelParameters parameters;
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_pending; });
            if (m_stopping)
                return;
            parameters = *std::exchange(m_pending, std::nullopt);
            generation = m_generation.load();
        }
        const auto current = [this, generation] { return generation == m_generation.load(); };
        ComputedMotion computed
            = Compute(parameters, [&current](std::int64_t, std::int64_t) { return current(); });
        if (!current())
            continue;
        QMetaObject::invokeMethod(
            this,
            [this, generation, computed = std::move(computed)] {
                // A request made since the computation ended supersedes it.
                if (generation != m_generation.load())
                    return;
                m_answered = generation;
                emit Computed(computed);
            },
            Qt::QueuedConnection);
    }
}
